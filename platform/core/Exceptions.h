#pragma once
// The toolkit's exception family. Every error the toolkit reports is an Exception with a
// message that names the problem; callers catch by family (EReadError, EListError, ...).

#include <exception>
#include <string>
#include <utility>

namespace zelvar {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

#define ZELVAR_EXCEPTION(Name, Base) \
  class Name : public Base {         \
   public:                           \
    using Base::Base;                \
  }

ZELVAR_EXCEPTION(EInvalidCast, Exception);
ZELVAR_EXCEPTION(EListError, Exception);
ZELVAR_EXCEPTION(EConvertError, Exception);
ZELVAR_EXCEPTION(EComponentError, Exception);
ZELVAR_EXCEPTION(EInvalidOperation, Exception);
ZELVAR_EXCEPTION(EFilerError, Exception);
ZELVAR_EXCEPTION(EReadError, EFilerError);
ZELVAR_EXCEPTION(EWriteError, EFilerError);
ZELVAR_EXCEPTION(EClassNotFound, EFilerError);
// Text form files and value texts; a kind of read error so that "the read failed" is one catch.
ZELVAR_EXCEPTION(EParserError, EReadError);
// Property access by name: an unknown property, or a value it cannot take.
ZELVAR_EXCEPTION(EPropertyError, Exception);
ZELVAR_EXCEPTION(EPropertyConvertError, EPropertyError);
// An image that cannot be read or written (a damaged BMP or PNG, an unsupported kind).
ZELVAR_EXCEPTION(EInvalidGraphic, Exception);

#undef ZELVAR_EXCEPTION

}  // namespace zelvar
