#pragma once
// Every text the file readers and writers show the user, in one place. Paths and reasons come in
// as UTF-8; the texts go out as GBK, with characters GBK lacks shown as '?'.

#include <string>
#include <string_view>

#include "files/file_result.h"
#include "files/sheet_reader.h"

namespace qvprt::files {

std::string message_caption();  // "提示"

// `d1` and `d2` are the details listed beside each ReadError, as text; OpenFailed and ReadFailed
// take the system's reason.
std::string read_error_message(ReadError e, std::string_view path, std::string_view d1 = {},
                               std::string_view d2 = {});
const char* job_field_name(JobField field);
// `d1` and `d2` are the details listed beside each SheetError.
std::string sheet_error_message(SheetError e, std::string_view path, std::string_view d1 = {},
                                std::string_view d2 = {});
std::string save_error_message(std::string_view path, std::string_view reason);
// The new file took the old one's place but the folder could not be synced, and the old file
// could not be put back (a file system without hard links).
std::string save_unconfirmed_message(std::string_view path, std::string_view reason);

// The system's reason for a failed file call (an errno value), in UTF-8: the common ones in
// Chinese, others as the system words them.
std::string system_reason(int err);
// An input that is a FIFO, a device or a socket.
std::string not_a_regular_file_reason();

// UTF-8 to GBK for messages: what GBK cannot hold becomes '?', never a refusal.
std::string gbk_for_message(std::string_view utf8);

}  // namespace qvprt::files
