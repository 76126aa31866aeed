// The size limit of settings files: a settings file is a few hundred bytes, so one past the
// limit is damage (or a file that is not ours), never something to read whole or write back.
#pragma once

#include <cstdint>
#include <string>

// Far past anything the game writes, far short of what would slow the start.
constexpr int64_t kSettingsFileMax = 1 << 20;

// A settings file over kSettingsFileMax is renamed beside itself ("<path>.oversized", then
// ".oversized2" ... when taken) with one log and standard error line, so that it reads as missing
// and what the game writes next is a fresh file; nothing of it is lost. 1 when it was set aside,
// 0 when it is missing or within the limit, -1 when it is over the limit and could not be moved
// (`aside` then stays empty). `aside` receives the new name.
int SettingsFileSetAsideOversized(const char* path, std::string* aside = nullptr);
