// The rule texts of the shipped coefficient database (column JSGS of nzhi,
// written in settings/coefficients.tsv) in the interface's language. The
// stored text is Chinese and stays the key: the English form lives in the one
// catalogue, translations/wormgear_en.ts, under the context
// wormgear::CoefficientRules. A text the user changed has no translation and
// is shown as stored.
//
//   ShownRuleText("齿顶高系数：齿顶高 ha = N·mt（端面模数）")
//     // English interface: "Addendum factor: ha = N·mt (transverse module)"
//   ShownRuleText("我的规则") -> "我的规则"
#pragma once

#include <QString>
#include <array>

#include "calc/design.h"

namespace wormgear {

// The fifteen rule texts as shipped, row k+1 describing c[k].
const std::array<const char*, kCoefficientCount>& ShippedRuleTexts();

// A stored rule text as the interface shows it.
QString ShownRuleText(const QString& stored);

}  // namespace wormgear
