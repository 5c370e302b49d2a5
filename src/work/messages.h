#pragma once
// Informational message boxes as page modules see them; the window shows them, tests answer
// them. Texts are UTF-8 (the program's own messages; Big5 data in them is converted first).
#include <string>

namespace work {

class Messages {
public:
    virtual ~Messages() = default;
    virtual void inform(const std::string& utf8) = 0;             // OK box
    virtual bool confirm(const std::string& utf8) = 0;            // Yes/No box; true for Yes
};

} // namespace work
