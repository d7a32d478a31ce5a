#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "compiler/show_reader.h"
#include "compiler/show_summary.h"
#include "compiler/show_writer.h"
#include "support/file_size_limit.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Record(float x, float y, float z, float r, float g, float b, float a, float size, float scale) {
  Bytes out(kRecordSize);
  EncodeRecord(out.data(), x, y, z, r, g, b, a, SizeNibble(size, scale));
  return out;
}

// A show whose frame i holds counts[i] records; record j of a frame sits at x = j / 3000.
Bytes WriteShow(const std::vector<int>& counts) {
  ShowMemorySink sink;
  ShowWriter writer(sink);
  for (size_t i = 0; i < counts.size(); ++i) {
    writer.BeginFrame();
    for (int j = 0; j < counts[i]; ++j) writer.AddRecord(j / 3000.0f, 0, 0, 1, 1, 1, 1, SizeNibble(0.1f, 1));
    EXPECT_TRUE(writer.EndFrame(i + 1 == counts.size()));
  }
  EXPECT_TRUE(writer.Finish());
  return sink.Bytes;
}

struct Layout {
  uint8_t First, Last;
  uint32_t LastIndex;
  std::vector<uint32_t> FrameIndices;
};

std::vector<Layout> ReadLayout(const Bytes& bytes) {
  std::vector<Layout> out;
  ShowFileReader reader;
  reader.OpenBytes(bytes);
  ShowBlock block;
  ShowFileReader::Status s;
  while ((s = reader.ReadBlock(block)) == ShowFileReader::Status::kBlock) {
    Layout l{block.Header.FirstBlock, block.Header.LastBlock, block.Header.LastFrameIndex, {}};
    FrameCursor frames = block.Frames();
    ShowFrame f;
    while (frames.Next(f)) l.FrameIndices.push_back(f.Index);
    out.push_back(l);
  }
  EXPECT_EQ(s, ShowFileReader::Status::kEnd) << reader.Fault().Describe();
  return out;
}

std::vector<uint32_t> Iota(uint32_t n) {
  std::vector<uint32_t> v(n);
  for (uint32_t i = 0; i < n; ++i) v[i] = i;
  return v;
}

TEST(ShowRecord, ByteExample) {
  const Bytes expected = {0xB8, 0x0B, 0x24, 0xFA, 0x00, 0x00, 0xFF, 0x80, 0x00, 0xF5};
  EXPECT_EQ(Record(1.0f, -0.5f, 0, 1, 0.5f, 0, 1, 0.1f, 1), expected);
}

TEST(ShowRecord, FieldRounding) {
  EXPECT_EQ(DecodeRecord(Record(1, 0, 0, 0, 0, 0, 0, 0, 1).data()).X, 3000);
  const ParticleRecord half = DecodeRecord(Record(0, 0, 0, 0.5f, 0.5f, 0.5f, 0.5f, 0.1f, 1).data());
  EXPECT_EQ(half.Red, 128);         // round(127.5), half to even
  EXPECT_EQ(half.AlphaLevel(), 8);  // round(7.5)
  EXPECT_EQ(half.SizeLevel(), 5);
  EXPECT_EQ(SizeNibble(0.1f, 4), 4);   // 20 and 0x0F
  EXPECT_EQ(SizeNibble(0.05f, 1), 2);  // 2.5 rounds to 2
  EXPECT_EQ(SizeNibble(0.30f, 1), 15);
}

TEST(ShowRecord, PositionsWrapAndNonFiniteGoToZero) {
  // 11 units is 33000 steps: the low 16 bits read back as 33000 - 65536.
  EXPECT_EQ(DecodeRecord(Record(11, 0, 0, 0, 0, 0, 0, 0, 1).data()).X, 33000 - 65536);
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const ParticleRecord r = DecodeRecord(Record(nan, inf, -inf, 0, 0, 0, 0, 0.1f, nan).data());
  EXPECT_EQ(r.X, 0);
  EXPECT_EQ(r.Y, 0);
  EXPECT_EQ(r.Z, 0);
  EXPECT_EQ(r.SizeLevel(), 0);
  EXPECT_EQ(DecodeRecord(Record(1e9f, 0, 0, 0, 0, 0, 0, 0, 1).data()).X, 0);
}

TEST(ShowWriterLayout, ThreeFrameClosingBlockBytes) {
  ShowMemorySink sink;
  ShowWriter w(sink);
  const Bytes rec = Record(1.0f, -0.5f, 0, 1, 0.5f, 0, 1, 0.1f, 1);
  w.BeginFrame();
  EXPECT_TRUE(w.EndFrame(false));
  w.BeginFrame();
  w.AddRecord(1.0f, -0.5f, 0, 1, 0.5f, 0, 1, SizeNibble(0.1f, 1));
  w.AddRecord(1.0f, -0.5f, 0, 1, 0.5f, 0, 1, SizeNibble(0.1f, 1));
  EXPECT_TRUE(w.EndFrame(false));
  w.BeginFrame();
  EXPECT_TRUE(w.EndFrame(true));
  EXPECT_TRUE(w.Finish());

  Bytes expected = {0x01, 0x01, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x00,
                    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00};
  expected.insert(expected.end(), rec.begin(), rec.end());
  expected.insert(expected.end(), rec.begin(), rec.end());
  const Bytes last = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  expected.insert(expected.end(), last.begin(), last.end());
  EXPECT_EQ(sink.Bytes, expected);
  EXPECT_EQ(w.Frames(), 3u);
  EXPECT_EQ(w.Blocks(), 1u);
  EXPECT_EQ(w.Records(), 2u);
}

TEST(ShowWriterLayout, TenFramesMakeOneClosingBlock) {
  const auto blocks = ReadLayout(WriteShow(std::vector<int>(10, 1)));
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].First, 1);
  EXPECT_EQ(blocks[0].Last, 1);
  EXPECT_EQ(blocks[0].LastIndex, 10u);
  std::vector<uint32_t> indices = Iota(9);
  indices.push_back(10);
  EXPECT_EQ(blocks[0].FrameIndices, indices);
}

TEST(ShowWriterLayout, TwentyFiveFramesMakeOneFullLastBlock) {
  const auto blocks = ReadLayout(WriteShow(std::vector<int>(25, 0)));
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].First, 1);
  EXPECT_EQ(blocks[0].Last, 1);
  EXPECT_EQ(blocks[0].LastIndex, 24u);
  EXPECT_EQ(blocks[0].FrameIndices, Iota(25));
}

TEST(ShowWriterLayout, ThirtyFramesMakeAFullAndAClosingBlock) {
  const auto blocks = ReadLayout(WriteShow(std::vector<int>(30, 2)));
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].First, 1);
  EXPECT_EQ(blocks[0].Last, 0);
  EXPECT_EQ(blocks[0].LastIndex, 24u);
  EXPECT_EQ(blocks[0].FrameIndices, Iota(25));
  EXPECT_EQ(blocks[1].First, 0);
  EXPECT_EQ(blocks[1].Last, 1);
  EXPECT_EQ(blocks[1].LastIndex, 5u);
  EXPECT_EQ(blocks[1].FrameIndices, (std::vector<uint32_t>{0, 1, 2, 3, 5}));
}

TEST(ShowWriterLayout, OneFrameAndTwentyFourFrameClosingBlocks) {
  auto blocks = ReadLayout(WriteShow({0}));
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].LastIndex, 1u);
  EXPECT_EQ(blocks[0].FrameIndices, (std::vector<uint32_t>{1}));

  blocks = ReadLayout(WriteShow(std::vector<int>(49, 0)));
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[1].LastIndex, 24u);
  std::vector<uint32_t> indices = Iota(23);
  indices.push_back(24);
  EXPECT_EQ(blocks[1].FrameIndices, indices);
}

// ---- Reading damaged files ----

ShowFault FirstFault(const Bytes& bytes) {
  ShowFileReader reader;
  reader.OpenBytes(bytes);
  ShowSummary summary;
  const auto fault = SummarizeShow(reader, summary);
  EXPECT_TRUE(fault.has_value());
  return fault.value_or(ShowFault{});
}

void Put32(Bytes& b, size_t at, uint32_t v) { StoreU32(b.data() + at, v); }

TEST(ShowReaderFaults, TruncationAnywhereIsAFaultWithinTheFile) {
  const Bytes good = WriteShow({0, 3, 1, 0, 2, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 1});
  for (size_t cut = 0; cut < good.size(); ++cut) {
    const Bytes part(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    const ShowFault fault = FirstFault(part);
    EXPECT_LE(fault.Offset, cut) << "cut at " << cut << ": " << fault.Describe();
  }
}

TEST(ShowReaderFaults, AFaultyBlockKeepsItsWholeFramesBeforeTheFault) {
  // One block of five frames with 0, 3, 1, 0, 2 records: frames of 8, 38, 18, 8, 28 bytes.
  const Bytes good = WriteShow({0, 3, 1, 0, 2});
  auto read = [](const Bytes& bytes) {
    ShowFileReader reader;
    reader.OpenBytes(bytes);
    ShowBlock block;
    EXPECT_EQ(reader.ReadBlock(block), ShowFileReader::Status::kFault);
    return block;
  };
  // Cut inside the third frame's records: the first two frames stay, exactly.
  Bytes cut(good.begin(), good.begin() + 12 + 8 + 38 + 12);
  ShowBlock block = read(cut);
  EXPECT_EQ(block.FrameCount, 2u);
  EXPECT_EQ(block.Data, Bytes(good.begin() + 12, good.begin() + 12 + 8 + 38));
  // A frame length that is no multiple of 10 inside the data: the frames before it stay.
  Bytes bad = good;
  Put32(bad, 12 + 8 + 38 + 4, 7);
  block = read(bad);
  EXPECT_EQ(block.FrameCount, 2u);
  // A broken header keeps nothing.
  bad = good;
  bad[0] = 0;
  block = read(bad);
  EXPECT_EQ(block.FrameCount, 0u);
  EXPECT_TRUE(block.Data.empty());
}

TEST(ShowReaderFaults, HeaderAndDataFaultsCarryTheirOffsets) {
  EXPECT_EQ(FirstFault({}).Reason, "the file is empty");

  Bytes b = WriteShow({1, 1, 1});
  Bytes cut(b.begin(), b.begin() + 7);
  EXPECT_EQ(FirstFault(cut).Reason, "block header cut short (7 of 12 bytes)");

  b = WriteShow({1, 1, 1});
  Put32(b, 8, 1000);
  ShowFault f = FirstFault(b);
  EXPECT_EQ(f.Offset, 8u);
  EXPECT_NE(f.Reason.find("runs past the end of the file"), std::string::npos);

  b = WriteShow({1, 1, 1});
  b[0] = 0;
  EXPECT_EQ(FirstFault(b).Offset, 0u);

  b = WriteShow({1, 1, 1});
  b[1] = 7;
  EXPECT_EQ(FirstFault(b).Offset, 1u);

  b = WriteShow({1, 1, 1});
  Put32(b, 4, 25);
  EXPECT_EQ(FirstFault(b).Offset, 4u);
}

TEST(ShowReaderFaults, FrameFaults) {
  // Second frame header sits after the first frame's header and record: 12 + 8 + 10.
  const size_t second = 30;
  Bytes b = WriteShow({1, 1, 1});
  Put32(b, second + 4, 15);
  ShowFault f = FirstFault(b);
  EXPECT_EQ(f.Offset, second + 4);
  EXPECT_EQ(f.Reason, "frame length 15 is not a multiple of 10");

  b = WriteShow({1, 1, 1});
  Put32(b, second + 4, 1000);
  EXPECT_EQ(FirstFault(b).Offset, second + 4);

  b = WriteShow({1, 1, 1});
  Put32(b, second, 2);
  f = FirstFault(b);
  EXPECT_EQ(f.Offset, second);
  EXPECT_EQ(f.Reason, "frame 1 has index 2");

  b = WriteShow({1, 1, 1});
  Put32(b, second, 7);
  f = FirstFault(b);
  EXPECT_EQ(f.Offset, second);
  EXPECT_EQ(f.Reason, "frame 1 has index 7 (the block's last frame index is 3)");
}

TEST(ShowReaderFaults, BlockSequenceFaults) {
  Bytes b = WriteShow(std::vector<int>(30, 0));
  b[1] = 1;  // first block claims to be the last: its successor trails
  ShowFault f = FirstFault(b);
  EXPECT_EQ(f.Offset, 12u + 25 * 8);
  EXPECT_EQ(f.Reason, "52 bytes follow the last block");  // 12 + 5 frame headers

  b = WriteShow(std::vector<int>(25, 0));
  b[1] = 0;
  f = FirstFault(b);
  EXPECT_EQ(f.Offset, b.size());
  EXPECT_EQ(f.Reason, "the file ends without its last block");

  // A closing block followed by another block.
  Bytes twice = WriteShow({0, 0});
  Bytes second = WriteShow({0, 0});
  second[0] = 0;
  twice[1] = 0;
  twice.insert(twice.end(), second.begin(), second.end());
  EXPECT_EQ(FirstFault(twice).Offset, 4u);

  // Extra data inside a block after its last frame.
  b = WriteShow({0, 0});
  b.insert(b.end(), {0, 0});
  Put32(b, 8, static_cast<uint32_t>(b.size() - 12));
  f = FirstFault(b);
  EXPECT_EQ(f.Reason, "2 bytes follow the block's last frame");
  EXPECT_EQ(f.Offset, b.size() - 2);
}

TEST(FrameCursorTest, StopsSafelyOnArbitraryData) {
  // A frame header claiming far more records than present, and a cursor over nothing.
  Bytes data(8, 0);
  Put32(data, 4, 0xFFFFFFF6u);
  FrameCursor c(data, 24, 100);
  ShowFrame f;
  EXPECT_FALSE(c.Next(f));
  ASSERT_TRUE(c.Fault().has_value());
  EXPECT_EQ(c.Fault()->Offset, 104u);
  FrameCursor empty({}, 24);
  EXPECT_FALSE(empty.Next(f));
  EXPECT_TRUE(empty.Fault().has_value());
}

// ---- Reading good files ----

TEST(ShowSummaryTest, FiguresOfAShow) {
  ShowMemorySink sink;
  ShowWriter w(sink);
  w.BeginFrame();
  EXPECT_TRUE(w.EndFrame(false));
  w.BeginFrame();
  w.AddRecord(1.0f, -2.0f, 0.5f, 0, 0, 0, 1, 0);
  w.AddRecord(-1.5f, 3.0f, 0.25f, 0, 0, 0, 1, 0);
  EXPECT_TRUE(w.EndFrame(false));
  w.BeginFrame();
  w.AddRecord(0, 0, 0, 0, 0, 0, 1, 0);
  EXPECT_TRUE(w.EndFrame(true));
  EXPECT_TRUE(w.Finish());

  ShowFileReader reader;
  reader.OpenBytes(sink.Bytes);
  ShowSummary s;
  ASSERT_FALSE(SummarizeShow(reader, s).has_value());
  EXPECT_EQ(s.Blocks, 1u);
  EXPECT_EQ(s.Frames, 3u);
  EXPECT_EQ(s.Records, 3u);
  EXPECT_EQ(s.MinRecordsPerFrame, 0u);
  EXPECT_EQ(s.MaxRecordsPerFrame, 2u);
  EXPECT_DOUBLE_EQ(s.MeanRecordsPerFrame, 1.0);
  EXPECT_DOUBLE_EQ(s.Seconds, 0.12);
  EXPECT_EQ(s.Min, (std::array<float, 3>{-1.5f, -2.0f, 0.0f}));
  EXPECT_EQ(s.Max, (std::array<float, 3>{1.0f, 3.0f, 0.5f}));
}

TEST(ShowFileTest, WrittenFileReadsBackBlockByBlock) {
  testing::ScratchDir dir;
  const auto path = dir.Path() / "ovcompile.dat";
  {
    ShowFileSink sink(path);
    ASSERT_TRUE(sink.Opened());
    ShowWriter w(sink);
    for (int i = 0; i < 60; ++i) {
      w.BeginFrame();
      for (int j = 0; j < i % 4; ++j) w.AddRecord(0.001f * i, 0, 0, 1, 0, 0, 1, 3);
      ASSERT_TRUE(w.EndFrame(i == 59));
    }
    ASSERT_TRUE(w.Finish());
    ASSERT_TRUE(sink.Close());
  }
  ShowFileReader reader;
  ASSERT_TRUE(reader.Open(path));
  ShowBlock block;
  int frames = 0;
  for (int expectedBlocks = 0; expectedBlocks < 3; ++expectedBlocks) {
    EXPECT_FALSE(reader.AtEnd());
    ASSERT_EQ(reader.ReadBlock(block), ShowFileReader::Status::kBlock) << reader.Fault().Describe();
    frames += static_cast<int>(block.FrameCount);
  }
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.Position(), reader.Size());
  EXPECT_EQ(block.Header.LastFrameIndex, 10u);
  EXPECT_EQ(reader.ReadBlock(block), ShowFileReader::Status::kEnd);
  EXPECT_EQ(frames, 60);
}

// The fuzz seeds are whole, valid shows, so fuzzing starts deep inside the format.
TEST(ShowFileTest, FuzzSeedsAreValidShows) {
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ORVANE_SHOW_CORPUS)) {
    ShowSummary s;
    const auto fault = SummarizeShowFile(entry.path(), s);
    EXPECT_FALSE(fault.has_value()) << entry.path() << ": " << fault->Describe();
    EXPECT_GT(s.Frames, 0u);
    ++seeds;
  }
  EXPECT_GE(seeds, 5);
}

TEST(ShowFileTest, MissingOrUnwritablePaths) {
  testing::ScratchDir dir;
  ShowFileSink sink(dir.Path() / "no-such-folder" / "ovcompile.dat");
  EXPECT_FALSE(sink.Opened());
  EXPECT_FALSE(sink.ErrorText().empty());
  ShowWriter w(sink);
  w.BeginFrame();
  EXPECT_TRUE(w.EndFrame(true));
  EXPECT_FALSE(w.Finish());

  ShowSummary s;
  const auto fault = SummarizeShowFile(dir.Path() / "absent.dat", s);
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(fault->Offset, 0u);
  EXPECT_NE(fault->Reason.find("cannot open"), std::string::npos);
  EXPECT_TRUE(SummarizeShowFile(dir.Path(), s).has_value());
}

TEST(ShowFileTest, FullDiskIsReportedAndLeavesNoFile) {
  testing::ScratchDir dir;
  const auto path = dir.Path() / "show.dat";
  {
    testing::FileSizeLimit full(100);
    ShowFileSink sink(path);
    ASSERT_TRUE(sink.Opened());
    ShowWriter w(sink);
    for (int i = 0; i < 25; ++i) {
      w.BeginFrame();
      w.AddRecord(0, 0, 0, 0, 0, 0, 0, 0);
      w.EndFrame(i == 24);
    }
    EXPECT_FALSE(sink.Close());
    EXPECT_FALSE(sink.ErrorText().empty());
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(ShowFileTest, PipesAndDevicesAreNeitherReplacedNorWritten) {
  EXPECT_FALSE(ShowFileSink("/dev/null").Opened());
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// A file of `size` bytes (sparse: nothing but the header is stored) starting with a block
// header that declares `declared` bytes of data.
std::filesystem::path SparseShow(const testing::ScratchDir& dir, uint64_t size, uint32_t declared) {
  const auto path = dir.Path() / "sparse.dat";
  Bytes header(kBlockHeaderSize, 0);
  header[0] = 1;
  header[1] = 0;
  StoreU32(header.data() + 4, kFullBlockLastIndex);
  StoreU32(header.data() + 8, declared);
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
  }
  std::filesystem::resize_file(path, size);
  return path;
}

TEST(ShowReaderLimits, ADeclaredLengthPastTheBlockBoundIsRefusedUnread) {
  testing::ScratchDir dir;
  const uint32_t declared = static_cast<uint32_t>(kMaxBlockDataBytes) + 10;
  ShowFileReader reader;
  ASSERT_TRUE(reader.Open(SparseShow(dir, uint64_t{2} << 30, declared)));
  ShowBlock block;
  ASSERT_EQ(reader.ReadBlock(block), ShowFileReader::Status::kFault);
  EXPECT_EQ(reader.Fault().Offset, 8u);
  EXPECT_NE(reader.Fault().Reason.find("more than a block holds"), std::string::npos) << reader.Fault().Reason;
  EXPECT_EQ(reader.Position(), kBlockHeaderSize);
  EXPECT_EQ(block.Data.capacity(), 0u);
}

TEST(ShowReaderLimits, ABlockOfNothingIsRefusedAtItsFirstBadFrame) {
  // Six declared 512 MiB blocks that hold only zeros: frame 1 carries index 0.
  testing::ScratchDir dir;
  const uint32_t declared = uint32_t{512} << 20;
  ShowFileReader reader;
  ASSERT_TRUE(reader.Open(SparseShow(dir, 6 * (uint64_t{declared} + kBlockHeaderSize), declared)));
  ShowBlock block;
  ASSERT_EQ(reader.ReadBlock(block), ShowFileReader::Status::kFault);
  EXPECT_EQ(reader.Fault().Offset, kBlockHeaderSize + kFrameHeaderSize);
  EXPECT_LT(reader.Position(), 1024u);
  EXPECT_LT(block.Data.capacity(), size_t{1} << 20);
  EXPECT_EQ(block.FrameCount, 1u);
}

// One frame declaring more records than any compile holds at once: refused at its header,
// before a byte of its records is read (a sparse file of 200 MB takes no disk).
TEST(ShowReaderLimits, AFrameOfMoreRecordsThanACompileHoldsIsRefusedUnread) {
  testing::ScratchDir dir;
  const uint64_t records = kMaxFrameRecords + 1;
  const auto length = static_cast<uint32_t>(records * kRecordSize);
  const auto path = SparseShow(dir, kBlockHeaderSize + kFrameHeaderSize + length, kFrameHeaderSize + length);
  {
    // The closing block of one frame: last frame index 1, and the frame carrying it.
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    Bytes head(kBlockHeaderSize + kFrameHeaderSize, 0);
    head[0] = 1;
    head[1] = 1;
    StoreU32(head.data() + 4, 1);
    StoreU32(head.data() + 8, kFrameHeaderSize + length);
    StoreU32(head.data() + 12, 1);
    StoreU32(head.data() + 16, length);
    file.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
  }
  ShowFileReader reader;
  ASSERT_TRUE(reader.Open(path));
  ShowBlock block;
  ASSERT_EQ(reader.ReadBlock(block), ShowFileReader::Status::kFault);
  EXPECT_EQ(reader.Fault().Offset, kBlockHeaderSize + 4);
  EXPECT_NE(reader.Fault().Reason.find("more than a frame holds (20000000 records)"), std::string::npos)
      << reader.Fault().Reason;
  EXPECT_LT(reader.Position(), 1024u);
  EXPECT_LT(block.Data.capacity(), size_t{1} << 20);
}

TEST(ShowReaderLimits, MissingFilesAndPipesAreRefusedBeforeOpening) {
  testing::ScratchDir dir;
  ShowSummary s;
  const auto missing = SummarizeShowFile(dir.Path() / "absent.dat", s);
  ASSERT_TRUE(missing.has_value());
  EXPECT_TRUE(missing->Unreadable);
  EXPECT_EQ(missing->Describe().rfind("cannot open " + (dir.Path() / "absent.dat").string(), 0), 0u)
      << missing->Describe();

  const auto folder = SummarizeShowFile(dir.Path(), s);
  ASSERT_TRUE(folder.has_value());
  EXPECT_NE(folder->Describe().find("is not a regular file"), std::string::npos);

  const auto pipe = dir.Path() / "p.dat";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // Run in a child with an alarm: a reader that waits for a writer would never return.
  EXPECT_EXIT(
      {
        alarm(30);
        ShowFileReader reader;
        const bool opened = reader.Open(pipe);
        const bool refused =
            !opened && reader.Fault().Unreadable && reader.Fault().Reason == pipe.string() + " is not a regular file";
        std::exit(refused ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace orvane
