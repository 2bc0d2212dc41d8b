// Reading the finished translations of a Qt Linguist file with pugixml.
#include "translations/catalogue.h"

#include <pugixml.hpp>
#include <stdexcept>

namespace wormgear {

namespace {

std::string Key(std::string_view context, std::string_view source) {
    std::string key(context);
    key += '\4';
    key.append(source);
    return key;
}

}  // namespace

Catalogue Catalogue::Read(const std::string& path) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed) throw std::runtime_error("the catalogue " + path + " cannot be read: " + parsed.description());
    const pugi::xml_node root = document.child("TS");
    if (!root) throw std::runtime_error("the catalogue " + path + " is no Qt Linguist file");
    auto texts = std::make_shared<Texts>();
    for (const pugi::xml_node context : root.children("context")) {
        const std::string name = context.child_value("name");
        for (const pugi::xml_node message : context.children("message")) {
            const pugi::xml_node translation = message.child("translation");
            if (!translation || translation.attribute("type") || message.attribute("numerus")) continue;
            const std::string text = translation.child_value();
            if (text.empty()) continue;
            (*texts)[Key(name, message.child_value("source"))] = text;
        }
    }
    Catalogue catalogue;
    catalogue.texts_ = std::move(texts);
    return catalogue;
}

const std::string* Catalogue::find(std::string_view context, std::string_view source) const {
    const auto found = texts_->find(Key(context, source));
    return found == texts_->end() ? nullptr : &found->second;
}

std::vector<Catalogue::Entry> Catalogue::entries() const {
    std::vector<Entry> all;
    for (const auto& [key, translation] : *texts_) {
        const std::size_t split = key.find('\4');
        all.push_back({key.substr(0, split), key.substr(split + 1), translation});
    }
    return all;
}

Translate Catalogue::translation() const {
    return [texts = texts_](const char* context, const char* source) {
        const auto found = texts->find(Key(context, source));
        return found == texts->end() ? std::string(source) : found->second;
    };
}

}  // namespace wormgear
