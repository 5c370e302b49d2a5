#pragma once
// The record-set file: how a record set travels to the report library (and back, in tests).
//
// Version 1, every integer little-endian:
//
//   offset  size  content
//   0       4     magic "KRSF" (0x4B 0x52 0x53 0x46)
//   4       2     u16 version = 1
//   6       4     u32 column count C
//           then C column descriptions, in column order:
//                 u16 name length N, N bytes of the name (Big5/ASCII, no terminator),
//                 u8  type (1 = string, 2 = floating point, 3 = integer),
//                 u32 size (bytes of a string column, e.g. 40 for VARCHAR(40); 8 for numbers)
//           u32 row count R
//           then R rows, each:
//                 a null bitmap of ceil(C / 8) bytes: bit (c % 8) of byte (c / 8) set means
//                 column c is NULL in this row and has no value below;
//                 then, for every column that is not NULL, in column order:
//                   string:          u32 byte length L, then L bytes (Big5, as stored)
//                   float, integer:  8 bytes, an IEEE 754 binary64 double
//
// Nothing follows the last row. Declared fields are not part of the file: every column of the
// record set is written, declared or not, so the report sees all of them. A reader refuses a
// file whose magic or version differs, or that ends early or carries bytes after the last row.
#include "db/record_set.h"

#include <cstdint>
#include <string>

namespace db {

inline constexpr char kRecordSetFileMagic[4] = {'K', 'R', 'S', 'F'};
inline constexpr std::uint16_t kRecordSetFileVersion = 1;

// The file's bytes, and the record set read back from them; decode throws text::UserError
// naming `source` when the bytes are not a record-set file of this version.
std::string encodeRecordSet(const RecordSet& records);
RecordSet decodeRecordSet(std::string_view bytes, const std::string& source);

// Throws text::UserError "Unable to write to %s" / "Unable to read %s" or the decode error.
void saveRecordSetFile(const RecordSet& records, const std::string& path);
RecordSet loadRecordSetFile(const std::string& path);

} // namespace db
