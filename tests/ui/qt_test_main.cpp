// GoogleTest's main with the QApplication the widgets need.

#include <gtest/gtest.h>

#include <QApplication>

#include "support/test_paths.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
  // Windows that remember their layout do so in a folder of this run, never in the user's
  // settings, and every run starts from the defaults.
  const orvane::testing::ScratchDir config;
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.Path().string()));
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
