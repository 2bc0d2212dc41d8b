// The particulars' texts, translated.
#include "particulars/particulars_text.h"

namespace wormgear {

QString ParticularsDataText(const char* text) { return QCoreApplication::translate(kDrawingsContext, text); }

QString ParticularName(ParticularId id) { return ParticularsDataText(Describe(id).name); }

QString ParticularProblemText(const ParticularProblem& problem, const Particulars& particulars) {
    QString name = ParticularName(problem.id);  // not const: the last return moves it
    using K = ParticularProblem::Kind;
    const std::string& text = Text(particulars, problem.id);
    switch (problem.kind) {
        case K::TooLong:
            if (text.empty()) return ParticularsText::tr("“%1”最多 %2 个字符。").arg(name).arg(problem.limit);
            return ParticularsText::tr("“%1”最多 %2 个字符，现有 %3 个字符。")
                .arg(name)
                .arg(problem.limit)
                .arg(CharacterCount(text));
        case K::TooManyLines: return ParticularsText::tr("“%1”最多 %2 行。").arg(name).arg(problem.limit);
        case K::LineTooLong:
            return ParticularsText::tr("“%1”第 %2 行最多 %3 个字符。").arg(name).arg(problem.line).arg(problem.limit);
        case K::NotALength: return ParticularsText::tr("“%1”须为不小于 0 的数字（mm），或留空取默认值。").arg(name);
        case K::InvalidText: return ParticularsText::tr("“%1”含有不能显示的字符。").arg(name);
    }
    return name;
}

}  // namespace wormgear
