#pragma once
// Message boxes as the core asks for them; each front end supplies its own implementation.

#include <string>
#include <string_view>

namespace grovex {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Cancel, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;

    // Shows a modal message and returns the button the user pressed. An empty caption means the
    // application's own title.
    virtual Answer message(std::string_view text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                           std::string_view caption = {}) = 0;
};

} // namespace grovex
