#pragma once

#include <windows.h>

#include <list>
#include <map>
#include <mutex>
#include <string>

namespace ui {

// The texts of the current language by id, read from a UTF-8 file of "id=text" lines (the
// language folder's strings.ini). Lines without exactly one "=" run, and ids containing ";",
// define nothing, which makes ";" lines comments. Stored texts may write a line break as the
// two characters "\n" (and "\r"); Lookup expands them.
//
// Threads: safe on any thread; a load replaces the table in one step under the table's lock, so
// a lookup never sees it half loaded. The singleton is created on first use and lives to
// process exit.
class LangTable {
 public:
  static LangTable& Instance();

  LangTable(const LangTable&) = delete;
  LangTable& operator=(const LangTable&) = delete;

  // Replaces the whole table with the file's lines. False, with the table empty, when the file
  // cannot be read; true otherwise, also for a file without a valid line.
  [[nodiscard]] bool LoadFromFile(const std::wstring& path);
  // Adds the block's lines to the table (an id already present gets the new text). Always true;
  // the caller keeps and frees the block.
  bool LoadFromMemory(HGLOBAL block);

  // The text for id with "\r" and "\n" expanded; "" for an empty or unknown id.
  std::wstring Lookup(const std::wstring& id) const;
  // The same for a language file other than the loaded one, read under the same rules, leaving
  // the table as it is; "" also when the file cannot be read.
  static std::wstring LookupInFile(const std::wstring& path, const std::wstring& id);

  // Enters every valid line; false when the list is empty.
  bool ParseLines(const std::list<std::wstring>& lines);

 private:
  using Texts = std::map<std::wstring, std::wstring>;

  LangTable() = default;
  // Enters every valid line into texts; false when the list is empty.
  static bool EnterLines(const std::list<std::wstring>& lines, Texts& texts);
  static bool ReadFile(const std::wstring& path, Texts& texts);
  static std::wstring Find(const Texts& texts, const std::wstring& id);

  mutable std::mutex mutex_;
  Texts texts_;  // guarded by mutex_
};

}  // namespace ui
