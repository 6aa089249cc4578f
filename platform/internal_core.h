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
// Reads a whole url (path or "incbin::") into bytes; false when it cannot be read.
bool ReadUrlBytes(const String& url, std::vector<uint8_t>* bytes);

// ---- UTF-16 helpers ----
// Decodes the next code point at *i (surrogate pairs joined); a lone surrogate gives 0xFFFD.
uint32_t NextCodePoint(const String& text, size_t* i);
void AppendUtf8(std::string* out, uint32_t cp);
