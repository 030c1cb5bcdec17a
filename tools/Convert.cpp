// zelvar convert [--to text|binary] IN OUT

#include <cstdio>
#include <iostream>
#include <string>

#include "platform/core/Paths.h"
#include "platform/streaming/FormFiles.h"
#include "platform/streaming/FormText.h"
#include "platform/streaming/Streams.h"
#include "script/ScriptSupport.h"
#include "tools/Commands.h"

namespace zelvar::tool {

using namespace zelvar::script;

namespace {

// Standard input is bounded as a form file is: a pipe may never end.
std::string ReadInput(const std::string& path) {
  if (path != "-") return ReadRegularFile(path, kMaxReadFileSize);
  std::string bytes;
  char buffer[65536];
  while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
    if (static_cast<size_t>(std::cin.gcount()) > kMaxReadFileSize - bytes.size())
      throw EFilerError("the input is larger than " + std::to_string(kMaxReadFileSize >> 20) +
                        " MB");
    bytes.append(buffer, static_cast<size_t>(std::cin.gcount()));
  }
  if (std::cin.bad()) throw EFilerError("cannot read standard input");
  return bytes;
}

}  // namespace

int RunConvert(const TArgs& args) {
  std::string to;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--to") {
      if (i + 1 >= args.size()) return Fail(2, "convert: --to needs text or binary");
      to = args[++i];
      if (to != "text" && to != "binary")
        return Fail(2, "convert: --to takes text or binary, not '" + to + "'");
    } else if (args[i].size() > 1 && args[i][0] == '-' && args[i] != "-") {
      return Fail(2, "convert: unknown option '" + args[i] + "'");
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return Fail(2, "convert: needs IN and OUT (see zelvar convert --help)");
  const std::string& in = files[0];
  const std::string& out = files[1];

  std::string result;
  try {
    std::string input = ReadInput(in);
    TFormFormat from = DetectFormFormat(input);
    TFormFormat target =
        to.empty()     ? (from == TFormFormat::Binary ? TFormFormat::Text : TFormFormat::Binary)
        : to == "text" ? TFormFormat::Text
                       : TFormFormat::Binary;
    if (from == target) {
      // Same format: still parsed, so a bad file is reported and the output is canonical.
      result = from == TFormFormat::Binary ? ObjectTextToBinary(ObjectBinaryToText(input))
                                           : ObjectBinaryToText(ObjectTextToBinary(input));
    } else {
      result = target == TFormFormat::Text ? ObjectBinaryToText(input) : ObjectTextToBinary(input);
    }
  } catch (...) {
    return Fail(1, (in == "-" ? std::string("<stdin>") : in) + ": " + CurrentErrorMessage());
  }

  try {
    if (out == "-") {
      std::cout.write(result.data(), static_cast<std::streamsize>(result.size()));
      std::cout.flush();
      if (!std::cout) return Fail(1, "<stdout>: write error");
    } else {
      // Written whole beside the output and renamed, so a failure leaves no partial output.
      WriteFileAtomically(out, result);
    }
  } catch (...) {
    return Fail(1, out + ": " + CurrentErrorMessage());
  }
  return 0;
}

}  // namespace zelvar::tool
