// A folder made read-only for one piece of a test, for every user: root is not stopped by a
// folder's permissions, so for root the folder is mounted read-only over itself in a mount
// namespace of a child process's own, which goes with the child.
#pragma once

#include <functional>
#include <string>

enum { READONLY_REFUSED = 77 };

// Runs `body` in a child process that sees `folder` read-only and returns its result (0..255),
// or READONLY_REFUSED with the kernel's reason in *why when the folder cannot be made read-only.
// The body runs in a copy of the test's process: it reports through its result only.
int RunWithFolderReadOnly(const std::string& folder, const std::function<int()>& body,
                          std::string* why);
