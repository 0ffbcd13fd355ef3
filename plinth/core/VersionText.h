#pragma once
#include <string>

// Version texts "a.b.c.d.y.m.d": the four parts of the file version in a
// file's version resource, then its last-write date (local time).
namespace plinth {

// The version text of the file at path (ANSI). "0.0.0.0.0.0.0" for a file
// without a version resource and for a file that does not exist; answers
// whether the file had a version resource.
bool FileVersionText(const char* path, std::string& out);
bool FileVersionText(const std::wstring& path, std::string& out);

// Compares two version texts part by part as numbers; a missing part, or one
// without leading digits, counts as 0. Negative, 0 or positive.
int CompareVersionTexts(const char* a, const char* b);

} // namespace plinth
