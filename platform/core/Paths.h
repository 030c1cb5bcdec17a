#pragma once
// The program's command line and the file-name helpers of Delphi's SysUtils, for '/' paths.

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvar {

// 0 is the running program's path; 1..ParamCount() the arguments; anything else is empty.
// Until SetCommandLine is called the arguments are those the process was started with.
std::string ParamStr(int index);
int ParamCount();
// Takes the arguments from main(). argv[0] is not used for ParamStr(0), which stays the real
// executable path: argv[0] may be a bare name found through PATH.
void SetCommandLine(int argc, char** argv);
// Makes ParamStr(0) read dir + '/' + the program's file name, so files looked up beside the
// program (a language file, say) can be placed elsewhere; "" restores the real path.
void SetProgramDir(std::string dir);

// Everything up to and including the last '/', or "" if there is none.
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
// From the last '.' of the file name on, or "" if the name has no '.'.
std::string ExtractFileExt(std::string_view path);
// Replaces the extension (or appends `ext` when there is none); `ext` includes its dot.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// True for an existing file that is not a directory.
bool FileExists(std::string_view path);

// The whole of a regular file of at most maxSize bytes. Raises EFilerError naming the file
// when it cannot be opened, is no regular file (a device or a pipe may never end), is
// larger, or cannot be read.
std::string ReadRegularFile(const std::string& path, size_t maxSize);

// Writes bytes to a new file beside path and renames it over path, so a reader finds the old
// contents or the new ones, never a part. A file that is there keeps its permissions, and a
// link the file it points at. Raises EFilerError naming the file on failure, and leaves no
// file of its own behind then.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Where a program keeps state that outlives a run (a wizard to resume, say): $XDG_STATE_HOME,
// else ~/.local/state, with "/zelvar/" after it. A path that starts with '/' is returned as it
// is; any other is taken in that folder, which is made when missing. EFilerError when there
// is no home to put it in, or the folder cannot be made.
std::string StateFilePath(const std::string& name);

}  // namespace zelvar
