#pragma once
// Checking a bank folder against the payment journal before its files go to the bank: each
// file is the very bytes a run wrote under that name (相符), bytes other than the journal's
// for a name the journal knows (已變更: which run, and the first record that differs), or a
// file no run wrote (不明).
#include "db/executor.h"
#include "journal/run_register.h"

#include <string>
#include <vector>

namespace journal {

enum class FileVerdict {
    Matches, // 相符
    Changed, // 已變更
    Unknown, // 不明
    Missing  // 不在 (a run's file that is not in its folder)
};

// Big5 caption of a verdict.
std::string verdictCaption(FileVerdict verdict);

struct FolderFileCheck {
    std::string name; // as the file system names it
    FileVerdict verdict = FileVerdict::Unknown;
    long long runId = 0;          // the run whose file it is (Matches) or should be (Changed)
    int firstDifferingRecord = 0; // Changed: 1-based record (line) where the bytes part
};

// Every regular file of `folder` (temporary files of presses in progress left out), by name.
// Throws text::UserError when the folder cannot be read.
std::vector<FolderFileCheck> verifyFolder(db::Executor& database, const std::string& folder);

// Whether the run's file in its folder still holds the bytes the run wrote.
FileVerdict checkInFolder(const RunFile& file);

// The 1-based number of the first record (line) in which `actual` differs from `expected`;
// 0 when they are equal.
int firstDifferingRecord(const std::string& expected, const std::string& actual);

} // namespace journal
