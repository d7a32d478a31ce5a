#include "show/camera_path.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/failure_text.h"

namespace orvane {
namespace {

using testing::FailureText;

constexpr const char* kHeader = "time,eye_x,eye_y,eye_z,target_x,target_y,target_z,fov\n";

CameraKey Key(int64_t ms, Metres3 eye, Metres3 target, double fov = 50) { return {ms, {eye, target, fov}}; }

TEST(CameraPathRead, ColumnsInAnyOrderAndCaseWithOthersIgnored) {
  const Result<std::vector<CameraKey>> r = ReadCameraPath(
      "\xEF\xBB\xBF"
      "Note,FOV,time,Target_X,target_y,TARGET_Z,eye_x,eye_y,eye_z\n"
      "start,55,0,0,80,0,0,1.7,160\n"
      "\"swing, left\",40.5,1:02.5,10,90.25,-5,-60,12,140\n",
      "camera.csv");
  ASSERT_TRUE(r.Ok()) << r.Message();
  ASSERT_EQ(r.Value().size(), 2u);
  EXPECT_EQ(r.Value()[0], Key(0, {0, 1.7, 160}, {0, 80, 0}, 55));
  EXPECT_EQ(r.Value()[1], Key(62500, {-60, 12, 140}, {10, 90.25, -5}, 40.5));
}

TEST(CameraPathRead, RefusalsNameTheLineAndTheColumn) {
  const struct {
    const char* Name;
    std::string Text;
    const char* Message;
  } cases[] = {
      {"empty", "", "camera.csv line 1: the header line naming the columns is missing."},
      {"no fov column", "time,eye_x,eye_y,eye_z,target_x,target_y,target_z\n0,0,1,0,0,1,-1\n",
       "camera.csv line 1: the header has no \"fov\" column."},
      {"not a number", std::string(kHeader) + "0,0,1.7,160,0,80,0,50\n2,0,abc,160,0,80,0,50\n",
       "camera.csv line 3, column 3 (eye_y): \"abc\" is not a number."},
      {"empty value", std::string(kHeader) + "0,0,1.7,160,0,80,,50\n",
       "camera.csv line 2, column 7 (target_z): the value is empty."},
      {"not a time", std::string(kHeader) + "soon,0,1.7,160,0,80,0,50\n",
       "camera.csv line 2, column 1 (time): \"soon\" is not a time in seconds."},
      {"negative time", std::string(kHeader) + "-1,0,1.7,160,0,80,0,50\n",
       "camera.csv line 2, column 1 (time): the time -1 is negative."},
      {"time not after", std::string(kHeader) + "2,0,1.7,160,0,80,0,50\n2.000,0,1.7,160,0,80,0,50\n",
       "camera.csv line 3, column 1 (time): the time 2.000 is not after the key before (2.000); keys go in time "
       "order."},
      {"narrow fov", std::string(kHeader) + "0,0,1.7,160,0,80,0,4\n",
       "camera.csv line 2, column 8 (fov): the field of view 4 is outside 5 to 150 degrees."},
      {"infinite", std::string(kHeader) + "0,1e400,1.7,160,0,80,0,50\n",
       "camera.csv line 2, column 2 (eye_x): \"1e400\" is not a number."},
      {"far", std::string(kHeader) + "0,0,1.7,160,0,80,200000,50\n",
       "camera.csv line 2, column 7 (target_z): 200000 is farther than 100000 m."},
      {"underground", std::string(kHeader) + "0,0,-0.5,160,0,80,0,50\n",
       "camera.csv line 2, column 3 (eye_y): the eye at -0.5 m is below the ground."},
      {"eye on target", std::string(kHeader) + "0,1,2,3,1,2,3,50\n",
       "camera.csv line 2: the eye and the target are the same point."},
      {"unclosed quote", std::string(kHeader) + "0,0,1.7,160,0,80,0,50\n1,\"0,1.7,160,0,80,0,50\n",
       "camera.csv line 3: a quoted field is not closed."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(FailureText(ReadCameraPath(c.Text, "camera.csv")), c.Message);
  }
}

TEST(CameraPathRead, TooManyKeysAreRefusedAtTheFirstOneTooMany) {
  std::string text = kHeader;
  for (size_t i = 0; i <= kMaxCameraKeys; ++i) text += std::to_string(i) + ",0,1,10,0,50,0,50\n";
  EXPECT_EQ(FailureText(ReadCameraPath(text, "camera.csv")),
            "camera.csv line 10002: the path holds more than 10000 keys.");
}

TEST(CameraPathRead, AHeaderAloneIsAPathWithoutKeys) {
  const Result<std::vector<CameraKey>> r = ReadCameraPath(kHeader, "camera.csv");
  ASSERT_TRUE(r.Ok());
  EXPECT_TRUE(r.Value().empty());
  EXPECT_EQ(CameraPathText({}), kHeader);
}

TEST(CameraPathText, ReadsBackToTheSameKeys) {
  const std::vector<CameraKey> keys = {Key(0, {0, 1.7, 160}, {0, 80, 0}, 55),
                                       Key(4321, {-60.125, 12, 140.1}, {1e-7, 90, -3}, 33.3333)};
  const Result<std::vector<CameraKey>> r = ReadCameraPath(CameraPathText(keys), "camera.csv");
  ASSERT_TRUE(r.Ok()) << r.Message();
  EXPECT_EQ(r.Value(), keys);
}

TEST(CameraKeys, StorablePosesReadBackAsTheyAreKept) {
  const struct {
    const char* Name;
    CameraPathPose Given, Kept;
  } cases[] = {
      {"rounded to millimetres",
       {{1.23456, 2.0004, -3.9996}, {0, 50.0005, 0}, 45.678},
       {{1.235, 2, -4}, {0, 50.001, 0}, 45.68}},
      {"under the ground", {{0, -4, 100}, {0, 50, 0}, 45}, {{0, 0, 100}, {0, 50, 0}, 45}},
      {"too far and too wide", {{3e5, 2, 0}, {NAN, 1, -1e9}, 179}, {{1e5, 2, 0}, {0, 1, -1e5}, 150}},
      {"target on the eye", {{5, 5, 5}, {5, 5, 5.0001}, 50}, {{5, 5, 5}, {5, 5, 4}, 50}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const CameraPathPose kept = StorablePose(c.Given);
    EXPECT_EQ(kept, c.Kept);
    const Result<std::vector<CameraKey>> r = ReadCameraPath(CameraPathText({{0, kept}}), "camera.csv");
    ASSERT_TRUE(r.Ok()) << r.Message();
    EXPECT_EQ(r.Value().at(0).Pose, kept);
  }
}

TEST(CameraKeys, AKeyGoesInTimeOrderReplacingOneAtItsTime) {
  std::vector<CameraKey> keys;
  for (int64_t ms : {3000, 1000, 2000, 1000})
    keys = WithCameraKey(keys, Key(ms, {static_cast<double>(ms), 2, 0}, {0, 0, -1}));
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].TimeMs, 1000);
  EXPECT_EQ(keys[1].TimeMs, 2000);
  EXPECT_EQ(keys[2].TimeMs, 3000);
}

TEST(CameraPoseAt, PassesThroughEveryKeyAndHoldsOutside) {
  const std::vector<CameraKey> keys = {Key(1000, {0, 2, 100}, {0, 50, 0}, 50), Key(3000, {40, 10, 90}, {5, 60, 0}, 40),
                                       Key(4000, {80, 2, 40}, {0, 40, 0}, 70),
                                       Key(8000, {60, 30, -20}, {0, 50, 0}, 50)};
  for (const CameraKey& k : keys) EXPECT_EQ(CameraPoseAt(keys, static_cast<double>(k.TimeMs) / 1000), k.Pose);
  EXPECT_EQ(CameraPoseAt(keys, 0), keys.front().Pose);
  EXPECT_EQ(CameraPoseAt(keys, -5), keys.front().Pose);
  EXPECT_EQ(CameraPoseAt(keys, 60), keys.back().Pose);
  EXPECT_EQ(CameraPoseAt({keys[1]}, 3.5), keys[1].Pose);
}

TEST(CameraPoseAt, EasesIntoEveryKey) {
  const std::vector<CameraKey> keys = {Key(0, {0, 2, 100}, {0, 50, 0}), Key(2000, {100, 2, 100}, {0, 50, 0}),
                                       Key(4000, {200, 2, 100}, {0, 50, 0})};
  // Close to a key the camera barely moves; halfway it moves fastest.
  const double nearKey = CameraPoseAt(keys, 2.04).Eye[0] - CameraPoseAt(keys, 2.0).Eye[0];
  const double halfway = CameraPoseAt(keys, 3.04).Eye[0] - CameraPoseAt(keys, 3.0).Eye[0];
  EXPECT_GT(nearKey, 0);
  EXPECT_LT(nearKey * 20, halfway);
}

TEST(CameraPoseAt, CrowdedKeysNeitherLoopNorBreak) {
  const struct {
    const char* Name;
    std::vector<Metres3> Eyes;
  } cases[] = {
      {"one far, one near", {{0, 2, 0}, {1, 2, 0}, {300, 2, 0}, {301, 2, 0}}},
      {"same place twice", {{0, 2, 0}, {0, 2, 0}, {50, 2, 0}, {50, 2, 0}}},
      {"sharp turn", {{0, 2, 0}, {100, 2, 0}, {100.5, 2, 0.5}, {0, 2, 1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<CameraKey> keys;
    for (size_t i = 0; i < c.Eyes.size(); ++i)
      keys.push_back(Key(static_cast<int64_t>(i) * 1000, c.Eyes[i], {0, 50, -500}));
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
      const Metres3& a = keys[i].Pose.Eye;
      const Metres3& b = keys[i + 1].Pose.Eye;
      double previous = 0;
      for (int step = 0; step <= 50; ++step) {
        const Metres3 e = CameraPoseAt(keys, static_cast<double>(i) + step / 50.0).Eye;
        for (double v : e) ASSERT_TRUE(std::isfinite(v));
        // Along each segment the eye goes from one key to the next without turning back.
        const double along = (e[0] - a[0]) * (b[0] - a[0]) + (e[2] - a[2]) * (b[2] - a[2]);
        EXPECT_GE(along, previous - 1e-9) << "segment " << i << " step " << step;
        previous = along;
      }
    }
  }
}

}  // namespace
}  // namespace orvane
