#pragma once
// Message boxes and questions, as the controller and the catalogue checks show them. The Qt
// windows, the headless harness and the command line each implement it.
#include <string>

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class MessagePort {
  public:
    virtual ~MessagePort() = default;
    // Shows text modally and returns the button pressed (Ok for an Ok box).
    virtual MessageAnswer Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) = 0;
};
