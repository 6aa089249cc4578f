// Byte buffers: whole files in memory, with little-endian peeks and pokes that never reach
// outside the buffer.
#include <cstdio>

#include "platform/internal_core.h"
#include "platform/platform.h"

ByteBuffer* CreateBuffer(int size) {
  ByteBuffer* buf = new ByteBuffer;
  buf->Bytes.assign(size_t(size > 0 ? size : 0), 0);
  return buf;
}

ByteBuffer* LoadBuffer(const String& url) {
  ByteBuffer* buf = new ByteBuffer;
  if (!ReadUrlBytes(url, &buf->Bytes)) {
    delete buf;
    return nullptr;
  }
  return buf;
}

int SaveBuffer(ByteBuffer* buf, const String& path) {
  if (!buf) return 0;
  return ReplaceFile(path, buf->Bytes.data(), buf->Bytes.size());
}

int BufferSize(const ByteBuffer* buf) { return buf ? int(buf->Bytes.size()) : 0; }

void ResizeBuffer(ByteBuffer* buf, int size) {
  if (buf) buf->Bytes.resize(size_t(size > 0 ? size : 0), 0);
}

namespace {

// True when `count` bytes from `offset` lie inside the buffer.
bool Inside(const ByteBuffer* buf, int offset, int count) {
  return buf && offset >= 0 && size_t(offset) + size_t(count) <= buf->Bytes.size();
}

}  // namespace

int PeekByte(const ByteBuffer* buf, int offset) {
  return Inside(buf, offset, 1) ? buf->Bytes[size_t(offset)] : 0;
}

int PeekShort(const ByteBuffer* buf, int offset) {
  if (!Inside(buf, offset, 2)) return 0;
  const uint8_t* p = &buf->Bytes[size_t(offset)];
  return p[0] | (p[1] << 8);
}

int PeekInt(const ByteBuffer* buf, int offset) {
  if (!Inside(buf, offset, 4)) return 0;
  const uint8_t* p = &buf->Bytes[size_t(offset)];
  return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                 (uint32_t(p[3]) << 24));
}

void PokeByte(ByteBuffer* buf, int offset, int value) {
  if (Inside(buf, offset, 1)) buf->Bytes[size_t(offset)] = uint8_t(value);
}

void PokeShort(ByteBuffer* buf, int offset, int value) {
  if (!Inside(buf, offset, 2)) return;
  uint8_t* p = &buf->Bytes[size_t(offset)];
  p[0] = uint8_t(value);
  p[1] = uint8_t(value >> 8);
}

void PokeInt(ByteBuffer* buf, int offset, int value) {
  if (!Inside(buf, offset, 4)) return;
  uint8_t* p = &buf->Bytes[size_t(offset)];
  uint32_t v = uint32_t(value);
  for (int k = 0; k < 4; k++) p[k] = uint8_t(v >> (8 * k));
}
