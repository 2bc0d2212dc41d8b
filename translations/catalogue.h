// The English catalogue read without Qt: the finished translations of
// translations/wormgear_en.ts, by context and Chinese source, for the build
// tools (the English sheet templates are made from it) and the tests of the
// libraries without Qt. The programs read the same texts from the .qm that
// lrelease makes of the file (InterfaceTranslation).
//
//   const Catalogue english = Catalogue::Read("translations/wormgear_en.ts");
//   english.find("wormgear::Checks", "设计检查")   // "Design checks"
//   english.translation()                           // a Translate for FindingMessage ...
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "calc/translate.h"

namespace wormgear {

class Catalogue {
 public:
    // Throws std::runtime_error naming the file when it cannot be read or is
    // no Qt Linguist file. Unfinished, vanished and obsolete entries, and
    // plural ones, are left out.
    static Catalogue Read(const std::string& path);

    // The translation of `source` in `context`, or nullptr.
    const std::string* find(std::string_view context, std::string_view source) const;
    std::size_t size() const { return texts_->size(); }

    struct Entry {
        std::string context, source, translation;
    };
    // Every translation, by context and source.
    std::vector<Entry> entries() const;

    // The catalogue as a Translate function; a text without a translation
    // stays as written, as with Qt. The function shares the catalogue.
    Translate translation() const;

 private:
    using Texts = std::map<std::string, std::string, std::less<>>;  // context '\4' source -> translation
    std::shared_ptr<const Texts> texts_ = std::make_shared<Texts>();
};

}  // namespace wormgear
