#include "engine/marked_text.h"

namespace engine {

std::size_t MarkedText::find_own(std::string_view pattern, std::size_t from) const {
    for (std::size_t at = text_.find(pattern, from); at != std::string::npos;
         at = text_.find(pattern, at + 1)) {
        bool own = true;
        for (std::size_t i = at; i < at + pattern.size() && own; ++i) own = !inserted_[i];
        if (own) return at;
    }
    return std::string::npos;
}

void MarkedText::replace(std::size_t at, std::size_t length, std::string_view inserted) {
    text_.replace(at, length, inserted);
    inserted_.erase(inserted_.begin() + static_cast<std::ptrdiff_t>(at),
                    inserted_.begin() + static_cast<std::ptrdiff_t>(at + length));
    inserted_.insert(inserted_.begin() + static_cast<std::ptrdiff_t>(at), inserted.size(), true);
}

void MarkedText::replace_each(std::string_view placeholder, std::string_view inserted) {
    std::size_t at = 0;
    while ((at = find_own(placeholder, at)) != std::string::npos) {
        replace(at, placeholder.size(), inserted);
        at += inserted.size();
    }
}

}  // namespace engine
