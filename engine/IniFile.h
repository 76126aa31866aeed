// The engine's ini layer, module-global state in two independent halves: a reader that holds
// one file in memory and answers lookups in one current section, and a writer that edits one
// remembered profile file. Every ini read and write of the engine goes through here.
//
// Matching rules shared by both halves: section headers "[name]" and keys "key=" count only at
// the start of a line (after blanks: space, tab, carriage return), and compare case-sensitively.
// A key with a blank before "=" is not that key. The first of two equal sections or keys wins.
// The writer and IniProfileGetInt compare with case too, where the Windows profile calls ignore
// it: a line the writer matched without case would be one the reader never finds. A UTF-8
// byte-order mark at the start of a file counts as blanks before its first line.
#pragma once

#include <cstddef>

// ---- reader ----

// Loads a whole file (found case-insensitively). 0 loaded; 1 the same path (compared without
// case) is loaded already and nothing is re-read; -1 the file cannot be read, nothing is loaded
// and a later open of the same path tries again. An empty file loads as an empty text. A pending
// profile write is written out first, so the reader sees it. The second argument is unused.
int IniOpen(const char* path, int unused = 0);
// Frees the text and forgets the path. Returns 0.
int IniClose();
// 1 when the loaded file's last line has no line break (a file cut short ends so), 0 when it
// has one or the file is empty, -1 with nothing loaded.
int IniEndsMidLine();

// Makes the section current: 0 found; -1 not found or nothing loaded (then no section is
// current). A null name changes nothing and returns 0. A section runs to the next line that
// begins with "[" or to the end of the text.
int IniSetSection(const char* name);

// The section walk, in file order: after IniRewindSections each IniNextSection makes the next
// section current and copies its name (cut to nameSize - 1 and terminated; *fullLength, when
// given, gets the whole name's length so a caller can refuse names that did not fit). Returns 1,
// or 0 when no section is left. "[]" is a section with an empty name; a "[" line without "]" is
// not a section and is stepped over.
void IniRewindSections();
int IniNextSection(char* name, size_t nameSize, size_t* fullLength = nullptr);

// The value of a key of the current section: blanks after "=" are skipped, trailing blanks
// (and so the carriage return of CR LF lines) are dropped; the copy is cut to outSize - 1 and
// terminated. 0 found; -1 no current section or no such key (out is then empty).
int IniFindKey(const char* key, char* out, size_t outSize);

// Typed reads of the current section. Each stores the value, or the default when nothing is
// loaded, no section is current or the key is missing, and returns 0 (read) or -1 (default).
// Values longer than INI_VALUE_MAX characters are cut there. A key present with an empty value
// reads as empty (an int 0, a float 0.0), not as the default.
enum { INI_VALUE_MAX = 1023 };
int IniReadInt(int* out, const char* key, int def);
int IniReadFloat(float* out, const char* key, float def);
// Copies at most size - 1 characters and always terminates (size 0 writes nothing).
int IniReadString(char* out, const char* key, const char* def, size_t size);

// The integer rule of ini values: "0x" or "0X" first is hexadecimal (HexToInt), else decimal
// with blanks and sign allowed, saturating beyond 32 bits.
int IniTextToInt(const char* text);

// The line reader of list sections such as "Entities". Open gives null when nothing is loaded or
// the section is missing; the record is the caller's, freed by IniSectionClose, and must be
// closed before IniClose. ReadLine skips blank lines, copies the next line (cut to outSize - 1,
// without its line end) and returns 1; at the end of the section the line is empty and the
// result 0. Lookups through IniSetSection may run between two reads.
struct IniSectionReader;
IniSectionReader* IniSectionOpen(const char* name);
int IniSectionReadLine(IniSectionReader* reader, char* out, size_t outSize);
void IniSectionClose(IniSectionReader* reader);

// ---- writer ----

// The profile file is the target of every write below. Set copies the path and returns 1; a
// null path keeps the current one and returns 0. Clear writes out pending changes, forgets the
// path and returns 0 (-1 when pending changes could not be written). Callers set the file,
// write, and clear it again only if they set it.
int IniSetProfileFile(const char* path);
int IniClearProfileFile();
// The same, but the file is taken as empty: the writes build a whole new file, which the clear
// writes over the old one (even when nothing was written), so no line of the old file survives
// and a failed write leaves the old file as it was. Writes into sections not yet written append
// at once, so a save of many sections costs time in proportion to its size.
int IniSetProfileFileEmpty(const char* path);

// Writes "key=value" into a section of the profile file: a key that exists is replaced in place,
// a missing key goes at the end of its section, a missing section at the end of the file
// (created when missing, its folder is not); every other line stays byte for byte. New lines end
// in LF. A value is cut at its first line break so it cannot add lines. Keys and sections that
// could never be read back (empty, with a line break, a key with "=", a section with "]") are
// not written. Nothing is written without a profile file.
//
// Changes are held in memory while the profile file is set and written out as a whole (through a
// temporary file renamed over the old one) when it is cleared or replaced, when the reader opens
// a file, or by IniProfileFlush.
void IniProfileWriteString(const char* section, const char* key, const char* text);
void IniProfileWriteInt(const char* section, const char* key, int value);
void IniProfileWriteFloat(const char* section, const char* key, float value);

// A decimal integer of the profile file (blanks and sign allowed, saturating); the default when
// no profile file is set or the file, section or key is missing. Stores it in out and returns it.
int IniProfileGetInt(int* out, const char* section, const char* key, int def);

// Writes pending changes now: 1 written, 0 nothing pending, -1 the file could not be written
// (the changes stay pending) or writes were refused because the existing file cannot be read
// (reported once).
int IniProfileFlush();
