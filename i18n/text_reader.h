// TextFileReader: opens a text file in Latin-1, UTF-8, UTF-16 BE or UTF-16 LE, the encoding
// told by its first bytes, and reads it as lines of 16-bit characters.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

enum TextEncoding {
  ENCODING_LATIN1 = 1,
  ENCODING_UTF8 = 2,
  ENCODING_UTF16_BE = 3,
  ENCODING_UTF16_LE = 4,
};

// A file read as 16-bit characters. Decoding starts at the first byte, so a byte-order mark
// is the first character of line 1. Lines end at LF or at a NUL character; CR is dropped.
class TextStream {
 public:
  TextStream(Stream* stream, int encoding);   // takes the stream over
  ~TextStream();
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  int Eof();
  String ReadLine();
  void Close();
  int Encoding() const { return Encoding_Code; }

 private:
  int NextByte();   // -1 at the end
  int NextUnit();   // the next UTF-16 code unit, -1 at the end
  int DecodeUtf8(int lead);

  Stream* Source;
  int Encoding_Code;
  uint8_t Buffer[4096];
  int Buffer_Fill = 0;
  int Buffer_Pos = 0;
  int Pending_Unit = -1;   // the low surrogate of a character above U+FFFF
};

// Language files are a few kilobytes; a file in the language folder (or named by the profile)
// that is far longer is no language file, and reading it would hold the game up.
constexpr int64_t Max_Text_File_Bytes = int64_t(4) << 20;

class TextFileReader {
 public:
  // Opens url as text: with detect != 0 the encoding comes from EncodingDetector, otherwise
  // `encoding` (a TextEncoding) is used. nullptr when the file cannot be opened, is no regular
  // file (a device, a pipe, a folder) or is longer than Max_Text_File_Bytes.
  static std::unique_ptr<TextStream> CreateStream(const String& url, int detect, int encoding);
  // The TextEncoding told by the file's byte-order mark; Latin-1 when it has none.
  static int EncodingDetector(const String& url);
};
