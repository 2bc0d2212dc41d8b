// Filling the named places of a translated form.
#include "calc/translate.h"

namespace wormgear {

std::string FillNames(std::string_view form,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string out;
    std::size_t at = 0;
    while (at < form.size()) {
        const std::size_t open = form.find('{', at);
        const std::size_t close = open == std::string_view::npos ? open : form.find('}', open);
        if (close == std::string_view::npos) {
            out.append(form.substr(at));
            break;
        }
        out.append(form.substr(at, open - at));
        const std::string_view name = form.substr(open + 1, close - open - 1);
        const auto* value = values.begin();
        while (value != values.end() && value->first != name) ++value;
        out.append(value != values.end() ? value->second : form.substr(open, close - open + 1));
        at = close + 1;
    }
    return out;
}

}  // namespace wormgear
