#pragma once

#include <cstddef>
#include <cstdint>

#include "render/automation/status.h"

class Variant;
class TypeInfo;
struct CallArguments;

// A member's number within its object; the value is part of the object's published interface.
using DispatchId = std::int32_t;

// The locale a request is made in. Links pass the neutral locale, by-name requests the user's.
using LocaleId = std::uint32_t;
inline constexpr LocaleId kNeutralLocale = 0;
inline constexpr LocaleId kUserDefaultLocale = 0x0400;

// How a member is invoked. The values are bits so that a member can answer to several.
enum class InvokeKind : unsigned {
  Method = 1,
  PropertyGet = 2,
  PropertyPut = 4,
  PropertyPutRef = 8,
};

// An object reachable through automation: it describes its members and performs them by
// dispatch id. Its life is a count of references (AddRef/Release); it deletes itself when the
// last one is released. Everything runs on the one thread that made the object (a
// single-threaded apartment), so the counts are plain integers.
class AutomationObject {
 public:
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;

  void AddRef() noexcept { ++references_; }
  void Release() noexcept;

  // The description of this object's members for `locale`, or nullptr when it has none.
  virtual const TypeInfo* GetTypeInfo(LocaleId locale) const = 0;

  // Performs member `member` as `kind`. The member's value, if any, goes to `*result` when
  // `result` is not null. A failure changes nothing and is reported only by the status.
  virtual Status Invoke(DispatchId member, InvokeKind kind, const CallArguments& arguments,
                        Variant* result, LocaleId locale) = 0;

 protected:
  AutomationObject() noexcept;
  virtual ~AutomationObject();

 private:
  std::uint32_t references_ = 0;
};

// How many automation objects exist right now; zero once every reference is released.
std::size_t LiveAutomationObjects();
