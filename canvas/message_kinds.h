#pragma once
// What a message box offers besides its text: its buttons, its icon and the answer it
// gives. Shared by the handlers, which ask for boxes, and the window, which shows them.

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Error };
enum class MessageAnswer { Ok, Yes, No };

// The title a message box gets when none is given.
inline constexpr const char* kDefaultMessageTitle = "信息：";
