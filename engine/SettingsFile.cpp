// Oversized settings files set aside before anything reads them.
#include "engine/SettingsFile.h"

#include "engine/DebugLog.h"
#include "platform/PathResolve.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

int SettingsFileSetAsideOversized(const char* path, std::string* aside) {
    if (aside) aside->clear();
    std::string disk;
    struct stat st;
    if (!path || PlatPathResolve(path, &disk) != 1 || stat(disk.c_str(), &st) != 0) return 0;
    if (!S_ISREG(st.st_mode) || st.st_size <= kSettingsFileMax) return 0;
    // The log may not be open yet: the line goes to standard error as well.
    char text[1200];
    for (int n = 1; n <= 99; ++n) {
        std::string target = disk + ".oversized";
        if (n > 1) target += std::to_string(n);
        struct stat taken;
        if (lstat(target.c_str(), &taken) == 0) continue;
        if (std::rename(disk.c_str(), target.c_str()) != 0) break;
        PlatPathCacheInvalidate(disk);
        PlatPathCacheInvalidate(target);
        std::snprintf(text, sizeof text,
                      "%s holds %lld bytes, past the %lld of a settings file: read as missing and "
                      "kept as %s\n",
                      path, (long long)st.st_size, (long long)kSettingsFileMax, target.c_str());
        std::fputs(text, stderr);
        DbgPrintf(DBG_GENERAL, "%s", text);
        if (aside) *aside = target;
        return 1;
    }
    std::snprintf(text, sizeof text,
                  "%s holds %lld bytes, past the %lld of a settings file, and cannot be moved "
                  "aside (%s): the defaults are used\n",
                  path, (long long)st.st_size, (long long)kSettingsFileMax, std::strerror(errno));
    std::fputs(text, stderr);
    DbgPrintf(DBG_GENERAL, "%s", text);
    return -1;
}
