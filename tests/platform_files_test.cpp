// Files, streams, folders, byte buffers and embedded resources.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/headless.h"
#include "platform/platform.h"
#include "tests/file_faults.h"

namespace {

class PlatformFiles : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quark-platform-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    Dir = tmpl;
  }
  void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }
  String Path(const std::string& name) const { return FromLatin1(Dir + "/" + name); }
  void WriteRaw(const std::string& name, const std::string& bytes) const {
    std::ofstream(Dir + "/" + name, std::ios::binary) << bytes;
  }
  std::string ReadRaw(const std::string& name) const {
    std::ifstream in(Dir + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Dir;
};

std::vector<String> AllLines(Stream* s) {
  std::vector<String> lines;
  while (!StreamEof(s)) lines.push_back(ReadLine(s));
  return lines;
}

TEST_F(PlatformFiles, ReadLineEndsAtLineFeedOrZeroAndDropsCarriageReturns) {
  struct Case {
    std::string bytes;
    std::vector<String> lines;
  } cases[] = {
      {"a\r\nb\r\n", {u"a", u"b"}},
      {"one\ntwo", {u"one", u"two"}},                      // last line without an end
      {"x\ry\n", {u"xy"}},                                 // a lone CR is dropped too
      {std::string("p\0q\n", 4), {u"p", u"q"}},             // a zero byte ends a line
      {"\n\n", {u"", u""}},
      {"\xE9t\xE9\n", {u"\u00E9t\u00E9"}},                 // each byte one unit
  };
  for (const Case& c : cases) {
    WriteRaw("lines.txt", c.bytes);
    Stream* s = OpenRead(Path("lines.txt"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(AllLines(s), c.lines) << c.bytes;
    EXPECT_EQ(ReadLine(s), u"");   // past the end: nothing, no crash
    CloseStream(s);
  }
}

TEST_F(PlatformFiles, WriteLineWritesLowBytesAndCrLf) {
  Stream* s = OpenWrite(Path("out.txt"));
  ASSERT_NE(s, nullptr);
  WriteLine(s, u"Key = 1");
  WriteLine(s, u"\u00E9\u0141");   // low bytes only
  WriteString(s, u"end");
  WriteByte(s, 0x1FF);
  EXPECT_EQ(StreamFailed(s), 0);
  EXPECT_EQ(FlushToDisk(s), 1);
  CloseStream(s);
  EXPECT_EQ(ReadRaw("out.txt"), "Key = 1\r\n\xE9\x41\r\nend\xFF");
}

TEST_F(PlatformFiles, StreamPositionsSizesAndReadWrite) {
  WriteRaw("data.bin", "0123456789");
  Stream* s = OpenReadWrite(Path("data.bin"));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(StreamSize(s), 10);
  StreamSeek(s, 4);
  EXPECT_EQ(ReadByte(s), '4');
  WriteBytes(s, "AB", 2);   // a write right after a read goes where the read stopped
  EXPECT_EQ(StreamPos(s), 7);
  char buf[8] = {};
  EXPECT_EQ(ReadBytes(s, buf, 8), 3);
  EXPECT_STREQ(buf, "789");
  EXPECT_EQ(StreamEof(s), 1);
  EXPECT_EQ(ReadByte(s), 0);
  CloseStream(s);
  EXPECT_EQ(ReadRaw("data.bin"), "01234AB789");
  EXPECT_EQ(OpenReadWrite(Path("missing.bin")), nullptr);
  EXPECT_EQ(OpenRead(Path("missing.bin")), nullptr);
}

TEST_F(PlatformFiles, AFailedWriteIsReported) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  Stream* s = OpenWrite(u"/dev/full");
  ASSERT_NE(s, nullptr);
  std::string big(1 << 16, 'x');   // more than the C library buffers
  WriteBytes(s, big.data(), int(big.size()));
  EXPECT_EQ(FlushToDisk(s) == 0 || StreamFailed(s) == 1, true);
  EXPECT_EQ(StreamFailed(s), 1);
  CloseStream(s);
}

// A full disk often shows only when the stream closes and its last bytes go out.
TEST_F(PlatformFiles, AWriteRefusedAtTheCloseIsReported) {
  Stream* s = OpenWrite(Path("late.bin"));
  ASSERT_NE(s, nullptr);
  std::string small(100, 'x');   // well within the C library's buffer
  {
    WriteLimit limit(10);
    EXPECT_EQ(WriteBytes(s, small.data(), int(small.size())), 100);
    EXPECT_EQ(CloseStream(s), 0);
  }
  s = OpenWrite(Path("fine.bin"));
  WriteBytes(s, small.data(), int(small.size()));
  EXPECT_EQ(CloseStream(s), 1);
}

// A file is replaced whole or not at all, whatever fails on the way, and the copy made on the
// way never outlives the attempt.
TEST_F(PlatformFiles, AFileIsReplacedWholeOrNotAtAll) {
  const struct {
    const char* Name;
    int Fault;   // 0 none, 1 the disk stops after 10 bytes, 2 a folder where the copy goes,
                 // 3 a link left where the copy goes, 4 no such folder
    bool Replaced;
  } cases[] = {
      {"nothing in the way", 0, true},
      {"a disk that fills up", 1, false},
      {"a folder in the way", 2, false},
      {"a link left by a kill", 3, true},
      {"no folder", 4, false},
  };
  const std::string fresh(5000, 'n');
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteRaw("player.bin", "old bytes");
    ASSERT_EQ(chmod((Dir + "/player.bin").c_str(), 0640), 0);
    WriteRaw("elsewhere.bin", "not the game's");
    const String target = c.Fault == 4 ? Path("missing/player.bin") : Path("player.bin");
    const std::string copy = ToLatin1(TemporaryFileOf(target));
    if (c.Fault == 2) std::filesystem::create_directories(copy + "/inside");
    if (c.Fault == 3) std::filesystem::create_symlink(Dir + "/elsewhere.bin", copy);
    int result = 0;
    if (c.Fault == 1) {
      WriteLimit limit(10);
      result = ReplaceFile(target, fresh.data(), fresh.size());
    } else {
      result = ReplaceFile(target, fresh.data(), fresh.size());
    }
    EXPECT_EQ(result, c.Replaced ? 1 : 0);
    EXPECT_EQ(ReadRaw("player.bin"), c.Replaced ? fresh : "old bytes");
    EXPECT_EQ(ReadRaw("elsewhere.bin"), "not the game's");
    struct stat st;
    ASSERT_EQ(stat((Dir + "/player.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the player's permissions stay";
    EXPECT_EQ(std::filesystem::is_symlink(Dir + "/player.bin"), false);
    if (c.Fault != 2) {
      EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(copy)));
    }
    std::filesystem::remove_all(copy);
  }
}

// Only regular files are read: a device or a pipe named where the game expects a player's file
// (a language, a flag, a font, a profile) would be read for ever, or never even open. The
// checks run in a child that an alarm ends, so a reader that waits fails here instead of
// holding the test run up.
TEST_F(PlatformFiles, DevicesAndPipesAreNotReadAndNobodyWaits) {
  const std::string pipe = Dir + "/pipe.ttf";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto check = [&pipe] {
    alarm(20);
    EnterHeadlessMode();
    int failed = 0;
    for (const String& path : {FromLatin1(pipe), String(u"/dev/zero")}) {
      failed += OpenRead(path) != nullptr;
      failed += OpenReadWrite(path) != nullptr;
      failed += LoadBuffer(path) != nullptr;
      failed += LoadImage(path) != nullptr;
      failed += LoadFont(path, 12) != nullptr;
    }
    std::exit(failed);
  };
  EXPECT_EXIT(check(), ::testing::ExitedWithCode(0), "");
}

TEST_F(PlatformFiles, EmbeddedResourcesOpenByName) {
  static const uint8_t bytes[] = {'h', 'i', '\r', '\n', 't', 'h', 'e', 'r', 'e'};
  RegisterResource(u"Test/hello.txt", bytes, sizeof bytes);
  const uint8_t* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(FindResource(u"Test/hello.txt", &data, &size));
  EXPECT_EQ(data, bytes);
  EXPECT_EQ(size, sizeof bytes);
  EXPECT_FALSE(FindResource(u"Test/none.txt", &data, &size));

  EXPECT_EQ(FileSize(u"incbin::Test/hello.txt"), 9);
  EXPECT_EQ(FileSize(u"incbin::Test/none.txt"), -1);
  EXPECT_EQ(OpenRead(u"incbin::Test/none.txt"), nullptr);
  EXPECT_EQ(LoadBuffer(u"incbin::Test/none.txt"), nullptr);

  Stream* s = OpenRead(u"incbin::Test/hello.txt");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(StreamSize(s), 9);
  EXPECT_EQ(AllLines(s), (std::vector<String>{u"hi", u"there"}));
  StreamSeek(s, 1);
  EXPECT_EQ(ReadByte(s), 'i');
  EXPECT_EQ(WriteBytes(s, "x", 1), 0);   // embedded data is read only
  EXPECT_EQ(StreamFailed(s), 1);
  CloseStream(s);

  ByteBuffer* buf = LoadBuffer(u"incbin::Test/hello.txt");
  ASSERT_NE(buf, nullptr);
  EXPECT_EQ(BufferSize(buf), 9);
  EXPECT_EQ(PeekByte(buf, 8), 'e');
  delete buf;
}

TEST_F(PlatformFiles, BuffersPeekAndPokeLittleEndian) {
  ByteBuffer* buf = CreateBuffer(8);
  ASSERT_EQ(BufferSize(buf), 8);
  EXPECT_EQ(PeekInt(buf, 0), 0);
  PokeInt(buf, 0, 0x12345678);
  EXPECT_EQ(buf->Bytes[0], 0x78);
  EXPECT_EQ(buf->Bytes[3], 0x12);
  EXPECT_EQ(PeekShort(buf, 1), 0x3456);
  PokeShort(buf, 4, 0xFFFE);
  EXPECT_EQ(PeekShort(buf, 4), 0xFFFE);   // unsigned
  PokeByte(buf, 6, -1);
  EXPECT_EQ(PeekByte(buf, 6), 255);       // bytes are unsigned
  PokeInt(buf, 4, -2);
  EXPECT_EQ(PeekInt(buf, 4), -2);

  // Outside the buffer: peeks give 0 and pokes change nothing, at every edge.
  std::vector<uint8_t> before = buf->Bytes;
  for (int offset : {-1, 5, 7, 8, 1 << 30, INT32_MIN}) {
    PokeInt(buf, offset, 0x01010101);
    EXPECT_EQ(PeekInt(buf, offset), 0) << offset;
  }
  PokeShort(buf, 7, 1);
  PokeByte(buf, 8, 1);
  EXPECT_EQ(PeekShort(buf, 7), 0);
  EXPECT_EQ(PeekByte(buf, 8), 0);
  EXPECT_EQ(buf->Bytes, before);

  ResizeBuffer(buf, 12);   // keeps the content, new bytes are zero
  EXPECT_EQ(PeekInt(buf, 0), 0x12345678);
  EXPECT_EQ(PeekInt(buf, 8), 0);
  ResizeBuffer(buf, 2);
  EXPECT_EQ(PeekShort(buf, 0), 0x5678);
  EXPECT_EQ(PeekShort(buf, 1), 0);
  delete buf;
  EXPECT_EQ(PeekInt(nullptr, 0), 0);
}

TEST_F(PlatformFiles, BuffersSaveAndLoad) {
  ByteBuffer* buf = CreateBuffer(3);
  PokeByte(buf, 0, 1);
  PokeByte(buf, 2, 0xFF);
  EXPECT_EQ(SaveBuffer(buf, Path("b.bin")), 1);
  EXPECT_EQ(ReadRaw("b.bin"), std::string("\x01\x00\xFF", 3));
  ByteBuffer* back = LoadBuffer(Path("b.bin"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Bytes, buf->Bytes);
  EXPECT_EQ(SaveBuffer(buf, Path("no/such/folder/b.bin")), 0);
  EXPECT_EQ(LoadBuffer(Path("missing.bin")), nullptr);
  delete buf;
  delete back;
}

TEST_F(PlatformFiles, FileSizeTimeDeleteAndRename) {
  EXPECT_EQ(FileSize(Path("a.txt")), -1);
  EXPECT_EQ(FileTime(Path("a.txt")), 0);
  WriteRaw("a.txt", "12345");
  WriteRaw("b.txt", "old");
  EXPECT_EQ(FileSize(Path("a.txt")), 5);
  struct utimbuf times = {1000000000, 1000000000};
  ASSERT_EQ(utime((Dir + "/a.txt").c_str(), &times), 0);
  EXPECT_EQ(FileTime(Path("a.txt")), 1000000000);
  EXPECT_GT(FileTime(Path("b.txt")), 1000000000);   // just written: later

  EXPECT_EQ(RenameFile(Path("a.txt"), Path("b.txt")), 1);   // replaces the target
  EXPECT_EQ(ReadRaw("b.txt"), "12345");
  EXPECT_EQ(FileSize(Path("a.txt")), -1);
  EXPECT_EQ(RenameFile(Path("a.txt"), Path("c.txt")), 0);
  EXPECT_EQ(DeleteFile(Path("b.txt")), 1);
  EXPECT_EQ(DeleteFile(Path("b.txt")), 0);
  EXPECT_EQ(FileSize(Path("b.txt")), -1);
}

TEST_F(PlatformFiles, FoldersAreCreatedAndListed) {
  EXPECT_EQ(CreateFolder(Path("x/y/z"), 0), 0);   // parents missing
  EXPECT_EQ(CreateFolder(Path("x/y/z/"), 1), 1);
  EXPECT_EQ(CreateFolder(Path("x"), 0), 1);      // already there
  WriteRaw("x/file.ttf", "f");
  WriteRaw("plain", "p");
  EXPECT_EQ(CreateFolder(Path("plain"), 0), 0);  // a file is in the way

  Folder* f = ReadFolder(Path("x"));
  ASSERT_NE(f, nullptr);
  std::set<String> names;
  for (String n = NextFolderEntry(f); !n.empty(); n = NextFolderEntry(f)) names.insert(n);
  EXPECT_EQ(NextFolderEntry(f), u"");
  CloseFolder(f);
  EXPECT_EQ(names, (std::set<String>{u".", u"..", u"y", u"file.ttf"}));
  EXPECT_EQ(ReadFolder(Path("missing")), nullptr);
}

TEST_F(PlatformFiles, PathsCarryBytesThatAreNotText) {
  String name = Path("caf\xE9");   // a byte that is not UTF-8 on its own
  Stream* s = OpenWrite(name);
  ASSERT_NE(s, nullptr);
  CloseStream(s);
  Folder* f = ReadFolder(FromLatin1(Dir));
  ASSERT_NE(f, nullptr);
  bool found = false;
  for (String n = NextFolderEntry(f); !n.empty(); n = NextFolderEntry(f)) found |= n == u"caf\u00E9";
  CloseFolder(f);
  EXPECT_TRUE(found);
  EXPECT_EQ(FileSize(name), 0);
}

TEST_F(PlatformFiles, UserDataFolderFollowsXdgAndExists) {
  const char* old_xdg = std::getenv("XDG_DATA_HOME");
  std::string saved_xdg = old_xdg ? old_xdg : "";
  std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";

  setenv("XDG_DATA_HOME", (Dir + "/xdg/data/").c_str(), 1);
  EXPECT_EQ(UserAppDataFolder(), FromLatin1(Dir + "/xdg/data"));
  struct stat st;
  EXPECT_EQ(stat((Dir + "/xdg/data").c_str(), &st), 0);   // made when missing

  setenv("XDG_DATA_HOME", "", 1);
  setenv("HOME", (Dir + "/home").c_str(), 1);
  EXPECT_EQ(UserAppDataFolder(), FromLatin1(Dir + "/home/.local/share"));
  // A relative path would move with the folder the game was started from: it does not count.
  setenv("XDG_DATA_HOME", "relative/data", 1);
  EXPECT_EQ(UserAppDataFolder(), FromLatin1(Dir + "/home/.local/share"));
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserAppDataFolder(), FromLatin1(Dir + "/home/.local/share"));

  if (old_xdg) setenv("XDG_DATA_HOME", saved_xdg.c_str(), 1);
  setenv("HOME", saved_home.c_str(), 1);
}

TEST_F(PlatformFiles, ProgramFileIsThisProgram) {
  String exe = ProgramFile();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe[0], u'/');
  EXPECT_GT(FileSize(exe), 0);
}

}  // namespace
