// State shared between the files of the platform layer that need no SDL (strings, files, byte
// buffers, embedded resources, random numbers): the rules and the tools link these alone.
// Nothing outside platform/ includes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// ---- Paths and urls ----
// A path String carries the bytes of the system path in the low byte of each unit.
std::string SystemPath(const String& path);
// For "incbin::" + name: the embedded bytes (true), or false when nothing has that name.
// Returns false for plain paths with *embedded set to false.
bool EmbeddedUrl(const String& url, const uint8_t** data, size_t* size, bool* embedded);
// Opens a path with O_RDONLY or O_RDWR when it is a regular file, without ever waiting on a
// pipe or a device; the descriptor, or -1.
int OpenRegularFile(const std::string& path, int access);
// Reads a whole url (path or "incbin::") into bytes; false when it cannot be read, when a path
// is not a regular file, or when it holds more than `max_size` bytes.
bool ReadUrlBytes(const String& url, std::vector<uint8_t>* bytes, size_t max_size = SIZE_MAX);

// ---- UTF-16 helpers ----
// Decodes the next code point at *i (surrogate pairs joined); a lone surrogate gives 0xFFFD.
uint32_t NextCodePoint(const String& text, size_t* i);
void AppendUtf8(std::string* out, uint32_t cp);
