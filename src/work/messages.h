#pragma once
// Informational message boxes as page modules see them; the window shows them, tests answer
// them. Texts are UTF-8 (the program's own messages; Big5 data in them is converted first).
#include <optional>
#include <string>

namespace work {

class Messages {
public:
    virtual ~Messages() = default;
    virtual void inform(const std::string& utf8) = 0;  // OK box
    virtual bool confirm(const std::string& utf8) = 0; // Yes/No box; true for Yes
    // A Yes/No question that also asks why (the reason of a deliberate act, such as issuing a
    // cheque again). "No" is the default answer. Returns the reason the clerk typed (UTF-8, not
    // blank) for Yes, nothing for No. A display that cannot ask a clerk answers No.
    virtual std::optional<std::string> askWithReason(const std::string& utf8)
    {
        (void)utf8;
        return std::nullopt;
    }
};

} // namespace work
