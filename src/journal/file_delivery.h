#pragma once
// How a press's files reach the bank folder so that a crash at any step can be finished or
// undone: each file is written under a temporary name in the bank folder and flushed with
// the folder; its bytes and checksum go into the journal in the press's transaction; only
// after the commit is it renamed into place (the folder flushed again) and the placing noted
// in PAY_RUN_PLACED. Recovery, at start-up and before every press, finishes what the journal
// says committed and removes what never did.
#include "db/connection.h"
#include "journal/payment_journal.h"

#include <span>
#include <string>
#include <vector>

namespace journal {

// "ABC.TXT" -> "ABC.TXT.run42-17.tmp": the run and the attachment that wrote it.
std::string temporaryName(const std::string& name, long long runId, long long attachmentId);
bool isTemporaryName(const std::string& name);

// Writes each file's bytes to folder + tempName and flushes it, then flushes each folder
// once. Refuses, with "Unable to write to %s" naming the final file, a final name that
// cannot be replaced (a read-only file, a folder) and any failed write, leaving no temporary
// file of these behind.
void writeTemporaries(std::span<const FileEntry> files);
void writeTemporary(const FileEntry& file);
void removeTemporary(const FileEntry& file);

// Puts a committed run's files in place (files[i] is the run's file number i + 1): renames
// each temporary file (or, when another workstation's recovery has moved it meanwhile,
// writes the journalled bytes anew), flushes each folder once and notes the files placed in
// PAY_RUN_PLACED in one statement. Returns per file "" when it is in place, else the clerk's
// message ("Unable to write to %s" when the folder refuses).
std::vector<std::string> putInPlace(db::Executor& database, long long runId, std::span<const FileEntry> files);

struct RecoveryReport {
    std::vector<std::string> restored;  // full paths put in place from the journal
    std::vector<std::string> overtaken; // UTF-8 lines for the clerk: a run's file that never reached its folder
    int removedTemporaries = 0;
};

// Finishes committed runs whose files are not noted as placed (unless a later run wrote a
// file of the same name there: then the clerk is told) and removes temporary files, in those
// runs' folders and in `folders`, of runs that never committed and whose workstation is gone.
RecoveryReport recoverFiles(db::Connection& database, const std::vector<std::string>& folders);

// What the program's start and every press do first: the journal's tables created when the
// database predates them, then recoverFiles over `folders`. Returns what the clerk is told
// of both ("" when there is nothing to tell).
std::string prepareJournal(db::Connection& database, const std::vector<std::string>& folders);

// The message for the clerk of a recovery that did something ("" when it did nothing worth
// telling: temporary files removed are not).
std::string recoveryMessage(const RecoveryReport& report);

} // namespace journal
