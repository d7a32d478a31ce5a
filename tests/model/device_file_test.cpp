#include "model/device_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "device_test_helpers.h"
#include "support/test_paths.h"
#include "util/date_time.h"

namespace orvane {
namespace {

using testing::DeviceFileWith;
using testing::RealPrepare;
using testing::ScratchDir;

DeviceFileRead Read(const std::string& text, const std::string& stem = "12") { return ReadDeviceFile(text, stem); }

std::unique_ptr<TBaseDevice> MustRead(const std::string& text, const std::string& stem = "12") {
  DeviceFileRead r = Read(text, stem);
  EXPECT_EQ(r.Result.Status, DeviceFileStatus::Loaded) << r.Result.Message;
  return std::move(r.Device);
}

std::vector<uint8_t> Hex(const std::string& digits) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < digits.size(); i += 2) bytes.push_back(std::stoi(digits.substr(i, 2), nullptr, 16));
  return bytes;
}

TEST(ColorData, DecodesTheDocumentedExample) {
  const SegmentList s = DecodeColorData(Hex("01000000003202FFFF800080FF8000"));
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0], NewColorSegment(0, 50, kMixColor, 0x0080FFFF, 0x0080FF80));
  EXPECT_EQ(s[0].InitialRGB, (std::array<uint8_t, 3>{255, 255, 128}));
  EXPECT_EQ(s[0].ColorRate, (std::array<float, 3>{-254, 0, 0}));
  // Lower-case digits read the same through the file.
  auto d = MustRead(DeviceFileWith(12, "[Simulation]\nColorData=01000000003202ffff800080ff8000\n"));
  EXPECT_EQ(d->ColorData, s);
}

TEST(ColorData, ReadsOnlyWholeSegmentsPresent) {
  const std::string one = "003202FFFF800080FF8000";
  EXPECT_EQ(DecodeColorData(Hex("02000000" + one)).size(), 1u);                      // count above the data
  EXPECT_EQ(DecodeColorData(Hex("FFFFFF7F" + one + one)).size(), 2u);                // huge count
  EXPECT_EQ(DecodeColorData(Hex("03000000" + one + one.substr(0, 10))).size(), 1u);  // cut mid-segment
  EXPECT_TRUE(DecodeColorData(Hex("FFFFFFFF" + one)).empty());                       // negative count
  EXPECT_TRUE(DecodeColorData(Hex("00000000" + one)).empty());
  EXPECT_TRUE(DecodeColorData(Hex("010000")).empty());  // not even a count
  auto d = MustRead(DeviceFileWith(12, "[Simulation]\nColorData=02000000" + one + "0032ZZ\n"));
  EXPECT_EQ(d->ColorData.size(), 1u);
  EXPECT_TRUE(MustRead(DeviceFileWith(12))->ColorData.empty());
}

TEST(DeviceFileChecks, SkipsFilesThatAreNotThisDevice) {
  struct Case {
    std::string text, stem, reasonPart;
  };
  const std::string valid = DeviceFileWith(12);
  const std::vector<Case> cases = {
      {DeviceFileWith(13), "12", "does not match"},
      {DeviceFileWith(7), "007", "does not match"},
      {"[Device]\nCode=12\n", "12", "[ORVN]"},
      {"[ORVN]\nSignature=Devices\n[Device]\nCode=12\n", "12", "signature"},
      {"[ORVN]\nSignature=Device\n", "12", "[Device]"},
      {"[ORVN]\nSignature=Device\n[Device]\nKind=device\n", "-1", "code is missing"},
      {"[ORVN]\nSignature=Device\n[Device]\nCode=1x\n", "1x", "code is missing"},
      {"[ORVN]\nSignature=Device\n[Device]\nCode=-5\n", "5", "does not match"},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "12", "binary"},
      {valid.substr(0, 10) + std::string(1, '\0') + valid.substr(10), "12", "binary"},
  };
  for (const Case& c : cases) {
    const DeviceFileRead r = Read(c.text, c.stem);
    EXPECT_EQ(r.Result.Status, DeviceFileStatus::Skipped) << c.text;
    EXPECT_NE(r.Result.Message.find(c.reasonPart), std::string::npos) << r.Result.Message;
    EXPECT_EQ(r.Device, nullptr);
  }
  EXPECT_NE(MustRead("[orvn]\nsignature=DEVICE\n[DEVICE]\ncode=$C\n"), nullptr);
}

TEST(DeviceFileChecks, AnExplicitNegativeCodeLoads) {
  const DeviceFileRead minusFive = Read("[ORVN]\nSignature=Device\n[Device]\nCode=-5\n", "-5");
  ASSERT_EQ(minusFive.Result.Status, DeviceFileStatus::Loaded) << minusFive.Result.Message;
  EXPECT_EQ(minusFive.Device->Definition.Code, -5);
  const DeviceFileRead minusOne = Read("[ORVN]\nSignature=Device\n[Device]\nCode=-1\n", "-1");
  ASSERT_EQ(minusOne.Result.Status, DeviceFileStatus::Loaded);
  EXPECT_EQ(minusOne.Device->Definition.Code, -1);
}

TEST(DeviceFileChecks, MissingKeysTakeTheirDefaults) {
  auto d = MustRead(DeviceFileWith(12));
  EXPECT_EQ(d->Definition.Code, 12);
  EXPECT_FALSE(d->Definition.Kind);
  EXPECT_TRUE(d->Definition.Active);
  EXPECT_EQ(d->Definition.Name, "");
  EXPECT_EQ(d->OpeningXY, 1);
  EXPECT_EQ(d->OpeningXZ, 1);
  EXPECT_EQ(d->StarQuantity, 1);
  EXPECT_EQ(d->StarKind, StarKind::Progressive);
  EXPECT_EQ(d->SpeedKind, SpeedKind::Random);
  EXPECT_EQ(d->TrailLife, 0);
  EXPECT_EQ(d->StarWeight, 10);
  EXPECT_EQ(d->StarSpeed, 10);
  EXPECT_EQ(d->StarResistance, 10);
  EXPECT_EQ(d->StarSize, 10);
  EXPECT_EQ(d->EffectLength, 1);
  EXPECT_EQ(d->MinStarLife, 100);
  EXPECT_EQ(d->MaxStarLife, 100);
  EXPECT_FALSE(d->NextEffExists);
  EXPECT_EQ(d->BestX, 0.0f);
  EXPECT_EQ(d->Definition.Additional, TAdditDevice{});
  // No Date: the moment of loading.
  EXPECT_NEAR(d->Definition.Credits.Date, CurrentDateTime(), 10.0 / 86400);
  auto empty = MustRead(DeviceFileWith(12, "[Credits]\nDate=\n"));
  EXPECT_NEAR(empty->Definition.Credits.Date, CurrentDateTime(), 10.0 / 86400);
  EXPECT_EQ(MustRead(DeviceFileWith(12, "[Credits]\nDate=45000,25\n"))->Definition.Credits.Date, 45000.25);
}

TEST(DeviceFileChecks, NarrowFieldsKeepTheLowBits) {
  auto d = MustRead(DeviceFileWith(12,
                                   "[Simulation]\nProjectionXY=70000\nOpeningXY=-1\nStarQuantity=65537\n"
                                   "StarKind=258\nSpeedKind=$1FF\nStarWeight=-100\n"
                                   "[Additional]\nWeight=32768\nElevation=-70000\n"));
  EXPECT_EQ(d->ProjectionXY, 4464);
  EXPECT_EQ(d->OpeningXY, -1);
  EXPECT_EQ(d->StarQuantity, 1);
  EXPECT_EQ(d->StarKind, StarKind::Explosive);
  EXPECT_EQ(d->SpeedKind, SpeedKind{255});
  EXPECT_EQ(d->StarWeight, -100);
  EXPECT_EQ(d->Definition.Additional.Weight, -32768);
  EXPECT_EQ(d->Definition.Additional.Elevation, static_cast<int16_t>(-70000 & 0xFFFF));
  EXPECT_EQ(MustRead(DeviceFileWith(12, "[Simulation]\nStarQuantity=40000\n"))->StarQuantity, 40000);
}

TEST(DeviceFileChecks, SubDeviceIgnoresDefinitionAndAdditional) {
  const std::string extra =
      "[Definition]\nName=Comet\nActive=0\nDelayA=5\nDescription=text\n"
      "[Additional]\nTrade=T\nPrice1=abc\nWeight=9\n"
      "[Credits]\nAuthor=Ana\n";
  auto sub = MustRead(DeviceFileWith(12, extra, true));  // the refused price is not even read
  EXPECT_TRUE(sub->Definition.Kind);
  EXPECT_EQ(sub->Definition.Name, "");
  EXPECT_FALSE(sub->Definition.Active);
  EXPECT_EQ(sub->Definition.DelayA, 0);
  EXPECT_EQ(sub->Definition.Additional, TAdditDevice{});
  EXPECT_EQ(sub->Definition.Credits.Author, "Ana");

  const DeviceFileRead device = Read(DeviceFileWith(12, extra));
  EXPECT_EQ(device.Result.Status, DeviceFileStatus::ConversionError);
  EXPECT_EQ(device.Result.Message, "'abc' is not a valid floating point value");
  auto named = MustRead(DeviceFileWith(12, "[Definition]\nName=Comet\nActive=0\n[Device]\nKind=SubDevice\n"));
  EXPECT_EQ(named->Definition.Name, "Comet");  // a second [Device] is never read
}

TEST(DeviceFileChecks, DecimalsAcceptEitherSeparator) {
  for (const char* text : {"1,5", "1.5", " 1.5"}) {
    auto d = MustRead(DeviceFileWith(12, std::string("[Simulation]\nBestX=") + text + "\n"));
    EXPECT_EQ(d->BestX, 1.5f) << text;
  }
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
    EXPECT_EQ(MustRead(DeviceFileWith(12, "[Simulation]\nBestX=1.5\nBestY=-,25\n"))->BestY, -0.25f);
    std::setlocale(LC_NUMERIC, "C");
  }
  for (const char* bad : {"1.000,5", "abc", "1e39", "--1"}) {
    const DeviceFileRead r = Read(DeviceFileWith(12, std::string("[Simulation]\nBestZ=") + bad + "\n"));
    EXPECT_EQ(r.Result.Status, DeviceFileStatus::ConversionError) << bad;
  }
  EXPECT_EQ(Read(DeviceFileWith(12, "[Simulation]\nBestZ=1.000,5\n")).Result.Message,
            "'1.000.5' is not a valid floating point value");
  EXPECT_EQ(Read(DeviceFileWith(12, "[Credits]\nDate=yesterday\n")).Result.Status, DeviceFileStatus::ConversionError);
}

TEST(DeviceFileChecks, AnsiTextsBecomeUtf8) {
  auto d = MustRead(DeviceFileWith(12, "[Definition]\nName=Estrella \xF1\x80\n[Credits]\nAuthor=Jos\xC3\xA9\n"));
  EXPECT_EQ(d->Definition.Name, "Estrella \xC3\xB1\xE2\x82\xAC");
  EXPECT_EQ(d->Definition.Credits.Author, "Jos\xC3\xA9");
}

class LoadDeviceFileTest : public ::testing::Test {
 protected:
  DeviceFileResult Load(const std::filesystem::path& p, PrepareStep prepare = RealPrepare()) {
    return LoadDeviceFile(p, devices, prepare);
  }
  ScratchDir dir;
  DeviceRecords devices;
};

TEST_F(LoadDeviceFileTest, LoadsAnyNameWhoseStemIsTheCode) {
  EXPECT_EQ(Load(dir.Write("12.txt", DeviceFileWith(12))).Status, DeviceFileStatus::Loaded);
  EXPECT_EQ(Load(dir.Write("12", DeviceFileWith(12))).Status, DeviceFileStatus::Loaded);
  EXPECT_EQ(Load(dir.Write("12.odev", DeviceFileWith(13))).Status, DeviceFileStatus::Skipped);
  ASSERT_EQ(devices.size(), 2u);
  ASSERT_NE(devices[0]->Compiled, nullptr);
  EXPECT_EQ(devices[0]->Compiled->Code, 12);
}

TEST_F(LoadDeviceFileTest, SkipsWhatCannotBeRead) {
  std::filesystem::create_directory(dir.Path() / "5.odev");
  EXPECT_EQ(Load(dir.Path() / "5.odev").Message, "a directory");
  EXPECT_EQ(Load(dir.Path() / "missing.odev").Message, "the file does not exist");
  std::string big = DeviceFileWith(12, "[Definition]\nName=" + std::string(kMaxDeviceFileBytes, 'x') + "\n");
  EXPECT_NE(Load(dir.Write("12.odev", big)).Message.find("larger than 1 MiB"), std::string::npos);
  EXPECT_EQ(Load(std::filesystem::path("/dev/null")).Message, "not a regular file");
  EXPECT_EQ(Load(dir.Write("12.odev", DeviceFileWith(12)), [](TBaseDevice&) { return false; }).Message,
            "the device could not be prepared");
  EXPECT_TRUE(devices.empty());
}

TEST_F(LoadDeviceFileTest, ZeroStarsPrepareAsAnEffectWithoutStars) {
  ASSERT_EQ(Load(dir.Write("3.odev", DeviceFileWith(3, "[Simulation]\nStarQuantity=0\nNextEffExists=1\n"))).Status,
            DeviceFileStatus::Loaded);
  ASSERT_NE(devices.at(0)->Compiled, nullptr);
  EXPECT_TRUE(devices[0]->Compiled->Stars.empty());
}

TEST_F(LoadDeviceFileTest, FolderOrderIsDevicesThenSubDevicesByName) {
  for (const char* name : {"2.osub", "10.odev", "9.odev", "1.OSUB", "3.ODEV", "4.txt"})
    dir.Write(name, DeviceFileWith(std::stoi(name), {}, std::string(name).find("sub") != std::string::npos));
  std::filesystem::create_directory(dir.Path() / "7.odev");
  const Result<DeviceFolderListing> listing = DeviceFilesInFolder(dir.Path());
  ASSERT_TRUE(listing) << listing.Message();
  std::vector<std::string> names;
  for (const auto& p : listing.Value().Files) names.push_back(p.filename().string());
  EXPECT_EQ(names, (std::vector<std::string>{"10.odev", "3.ODEV", "9.odev", "1.OSUB", "2.osub"}));
  const std::vector<SkippedFile>& skipped = listing.Value().Directories;
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped[0].Path.filename(), "7.odev");

  const FolderLoadReport report = LoadDeviceFolder(dir.Path(), devices, RealPrepare());
  EXPECT_EQ(report.Loaded, 5u);
  EXPECT_FALSE(report.Error);
  std::vector<int> codes;
  for (const auto& d : devices) codes.push_back(d->Definition.Code);
  EXPECT_EQ(codes, (std::vector<int>{10, 3, 9, 1, 2}));
}

TEST_F(LoadDeviceFileTest, RefusedDecimalEndsTheLoadKeepingEarlierDevices) {
  dir.Write("1.odev", DeviceFileWith(1));
  dir.Write("2.odev", DeviceFileWith(99));
  dir.Write("3.odev", DeviceFileWith(3, "[Simulation]\nBestY=1.000,5\n"));
  dir.Write("4.odev", DeviceFileWith(4));
  dir.Write("5.osub", DeviceFileWith(5, {}, true));
  const FolderLoadReport report = LoadDeviceFolder(dir.Path(), devices, RealPrepare());
  ASSERT_TRUE(report.Error);
  EXPECT_EQ(*report.Error, "'1.000.5' is not a valid floating point value");
  EXPECT_EQ(report.Loaded, 1u);
  ASSERT_EQ(report.Skipped.size(), 1u);
  EXPECT_EQ(report.Skipped[0].Path.filename(), "2.odev");
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0]->Definition.Code, 1);
}

TEST_F(LoadDeviceFileTest, PreparedTablesHaveATotalBound) {
  // The real preparation counts what it holds.
  ASSERT_EQ(Load(dir.Write("1.odev", DeviceFileWith(1, "[Simulation]\nStarQuantity=40\n"))).Status,
            DeviceFileStatus::Loaded);
  const TCompDevice& small = *devices.at(0)->Compiled;
  uint64_t expected = small.Stars.size() * sizeof(TCompPartics);
  for (const TCompPartics& star : small.Stars) expected += star.Colors.size() * sizeof(FrameColor);
  EXPECT_EQ(small.TableBytes, expected);
  EXPECT_GT(small.TableBytes, 40 * sizeof(FrameColor));

  // Devices said to take 1.5 GiB each: the third would pass 4 GiB and is refused, the
  // load goes on and takes a small one after it.
  const PrepareStep large = [](TBaseDevice& d) {
    auto part = std::make_shared<TCompDevice>();
    part->Code = d.Definition.Code;
    part->TableBytes = (d.Definition.Code == 5 ? uint64_t{1} << 10 : uint64_t{3} << 29);
    d.Compiled = part;
    return true;
  };
  devices.clear();
  for (int code = 2; code <= 5; ++code) dir.Write(std::to_string(code) + ".odev", DeviceFileWith(code));
  std::filesystem::remove(dir.Path() / "1.odev");
  const FolderLoadReport report = LoadDeviceFolder(dir.Path(), devices, large);
  EXPECT_FALSE(report.Error);
  EXPECT_EQ(report.Loaded, 3u);
  ASSERT_EQ(report.Skipped.size(), 1u);
  EXPECT_EQ(report.Skipped[0].Path.filename(), "4.odev");
  EXPECT_EQ(report.Skipped[0].Reason.rfind("the device could not be prepared", 0), 0u);
  EXPECT_NE(report.Skipped[0].Reason.find("4096 MiB"), std::string::npos);
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[2]->Definition.Code, 5);
  EXPECT_EQ(kMaxPreparedBytes, uint64_t{4} << 30);
}

TEST_F(LoadDeviceFileTest, UnreadableFolderIsAnError) {
  const FolderLoadReport report = LoadDeviceFolder(dir.Path() / "nowhere", devices, RealPrepare());
  ASSERT_TRUE(report.Error);
  EXPECT_NE(report.Error->find("cannot be read"), std::string::npos);
}

}  // namespace
}  // namespace orvane
