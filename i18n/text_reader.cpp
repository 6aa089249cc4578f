// Decoding text files for the language loader. Any bytes at all must decode to something:
// players drop their own files into the language folder, and a broken one must not crash.
#include "i18n/text_reader.h"

namespace {
constexpr int Replacement_Char = 0xFFFD;
}

TextStream::TextStream(Stream* stream, int encoding) : Source(stream), Encoding_Code(encoding) {}

TextStream::~TextStream() { Close(); }

void TextStream::Close() {
  if (Source != nullptr) CloseStream(Source);
  Source = nullptr;
  Buffer_Fill = Buffer_Pos = 0;
  Pending_Unit = -1;
}

int TextStream::NextByte() {
  if (Buffer_Pos == Buffer_Fill) {
    if (Source == nullptr) return -1;
    Buffer_Fill = ReadBytes(Source, Buffer, sizeof Buffer);
    Buffer_Pos = 0;
    if (Buffer_Fill <= 0) {
      Buffer_Fill = 0;
      return -1;
    }
  }
  return Buffer[Buffer_Pos++];
}

int TextStream::Eof() {
  if (Pending_Unit >= 0 || Buffer_Pos < Buffer_Fill) return 0;
  if (Source == nullptr) return 1;
  Buffer_Fill = ReadBytes(Source, Buffer, sizeof Buffer);
  Buffer_Pos = 0;
  if (Buffer_Fill <= 0) {
    Buffer_Fill = 0;
    return 1;
  }
  return 0;
}

int TextStream::DecodeUtf8(int lead) {
  if (lead < 0x80) return lead;
  int count;
  int code;
  int minimum;
  if ((lead & 0xE0) == 0xC0) {
    count = 1, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    count = 2, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    count = 3, code = lead & 0x07, minimum = 0x10000;
  } else {
    return Replacement_Char;   // a stray continuation byte or an invalid lead byte
  }
  for (int i = 0; i < count; i++) {
    // Peek so that a truncated sequence does not swallow the next character (a LF, say).
    if (Buffer_Pos == Buffer_Fill && Eof()) return Replacement_Char;
    const int next = Buffer[Buffer_Pos];
    if ((next & 0xC0) != 0x80) return Replacement_Char;
    Buffer_Pos++;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return Replacement_Char;
  }
  return code;
}

int TextStream::NextUnit() {
  if (Pending_Unit >= 0) {
    const int unit = Pending_Unit;
    Pending_Unit = -1;
    return unit;
  }
  const int b1 = NextByte();
  if (b1 < 0) return -1;
  switch (Encoding_Code) {
    case ENCODING_UTF8: {
      const int code = DecodeUtf8(b1);
      if (code < 0x10000) return code;
      Pending_Unit = 0xDC00 + ((code - 0x10000) & 0x3FF);
      return 0xD800 + ((code - 0x10000) >> 10);
    }
    case ENCODING_UTF16_BE:
    case ENCODING_UTF16_LE: {
      const int b2 = NextByte();
      if (b2 < 0) return -1;   // an odd byte at the very end carries no character
      return Encoding_Code == ENCODING_UTF16_BE ? (b1 << 8) | b2 : (b2 << 8) | b1;
    }
    default:
      return b1;
  }
}

String TextStream::ReadLine() {
  String line;
  for (;;) {
    const int unit = NextUnit();
    if (unit < 0 || unit == '\n' || unit == 0) break;
    if (unit != '\r') line.push_back(static_cast<char16_t>(unit));
  }
  return line;
}

std::unique_ptr<TextStream> TextFileReader::CreateStream(const String& url, int detect,
                                                         int encoding) {
  Stream* stream = OpenRead(url);
  if (stream == nullptr) return nullptr;
  if (StreamSize(stream) > Max_Text_File_Bytes) {
    CloseStream(stream);
    return nullptr;
  }
  // The detector reads through a stream of its own; this one still starts at the first byte.
  const int code = detect != 0 ? EncodingDetector(url) : encoding;
  return std::make_unique<TextStream>(stream, code);
}

int TextFileReader::EncodingDetector(const String& url) {
  Stream* stream = OpenRead(url);
  if (stream == nullptr) return ENCODING_LATIN1;
  uint8_t mark[3] = {0, 0, 0};
  const int count = ReadBytes(stream, mark, 3);
  CloseStream(stream);
  if (count < 2) return ENCODING_LATIN1;
  if (mark[0] == 0xFE && mark[1] == 0xFF) return ENCODING_UTF16_BE;
  if (mark[0] == 0xFF && mark[1] == 0xFE) return ENCODING_UTF16_LE;
  if (mark[0] == 0xEF && mark[1] == 0xBB && count == 3 && mark[2] == 0xBF) return ENCODING_UTF8;
  return ENCODING_LATIN1;
}
