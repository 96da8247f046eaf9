#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

// The result of every request through the automation layer. Failures are values, never
// exceptions: the codes and their meanings are those of component object automation, so a
// caller written against this layer reads like one written against the platform's own.
enum class Status : std::int32_t {
  S_OK = 0,
  S_FALSE = 1,
  E_NOTIMPL = static_cast<std::int32_t>(0x80004001u),
  E_NOINTERFACE = static_cast<std::int32_t>(0x80004002u),
  E_POINTER = static_cast<std::int32_t>(0x80004003u),
  E_FAIL = static_cast<std::int32_t>(0x80004005u),
  E_OUTOFMEMORY = static_cast<std::int32_t>(0x8007000Eu),
  E_INVALIDARG = static_cast<std::int32_t>(0x80070057u),
  DISP_E_UNKNOWNINTERFACE = static_cast<std::int32_t>(0x80020001u),
  DISP_E_MEMBERNOTFOUND = static_cast<std::int32_t>(0x80020003u),
  DISP_E_PARAMNOTFOUND = static_cast<std::int32_t>(0x80020004u),
  DISP_E_TYPEMISMATCH = static_cast<std::int32_t>(0x80020005u),
  DISP_E_UNKNOWNNAME = static_cast<std::int32_t>(0x80020006u),
  DISP_E_NONAMEDARGS = static_cast<std::int32_t>(0x80020007u),
  DISP_E_EXCEPTION = static_cast<std::int32_t>(0x80020009u),
  DISP_E_OVERFLOW = static_cast<std::int32_t>(0x8002000Au),
  DISP_E_BADINDEX = static_cast<std::int32_t>(0x8002000Bu),
  DISP_E_BADPARAMCOUNT = static_cast<std::int32_t>(0x8002000Eu),
  DISP_E_PARAMNOTOPTIONAL = static_cast<std::int32_t>(0x8002000Fu),
  REGDB_E_CLASSNOTREG = static_cast<std::int32_t>(0x80040154u),
  RPC_E_DISCONNECTED = static_cast<std::int32_t>(0x80010108u),
};

// Success codes are zero or positive, failures negative, as for every automation result.
constexpr bool Succeeded(Status status) { return static_cast<std::int32_t>(status) >= 0; }
constexpr bool Failed(Status status) { return !Succeeded(status); }

// The code's name ("DISP_E_MEMBERNOTFOUND"), or its hexadecimal value when it has none here.
std::string StatusName(Status status);
std::ostream& operator<<(std::ostream& out, Status status);
