// The shipped rule texts, marked for the catalogue.
#include "settings/coefficient_rules.h"

#include <QCoreApplication>

namespace wormgear {

namespace {

constexpr const char* kContext = "wormgear::CoefficientRules";

// Character for character the JSGS column of settings/coefficients.tsv
// (coefficient_store_test compares the two).
const std::array<const char*, kCoefficientCount> kShippedRules = {
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "蜗杆分度圆直径建议值中中心距的指数：d1 = (0.6～0.78)·A^N"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "齿根高系数：齿根高 hf = N·mt（端面模数）"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "齿顶高系数：齿顶高 ha = N·mt（端面模数）"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "工作半包角：从包围齿数中扣除的齿数 N"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "备用系数：读入但不参与计算"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "蜗轮齿厚占周节的比例 N（蜗杆齿厚取其余部分减去侧隙）"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "轴肩：N 倍端面模数，取整"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "包围齿数：取整后再加 N（勾选“取整数”时不加）"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "滚刀齿顶加长：N 倍端面模数（另加固定的 0.2 倍模数）"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "刀体齿根圆弧半径：蜗杆齿根圆弧半径加 N（mm）"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "滚刀半包角：从滚刀包络齿数中扣除的齿数 N"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "滚刀包络齿数：包围齿数取整后加 N"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "蜗轮齿顶圆弧半径系数 N"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "蜗轮最大外圆：蜗轮喉径加 N 倍端面模数"),
    QT_TRANSLATE_NOOP("wormgear::CoefficientRules", "齿圈工作宽度：N 倍蜗杆分度圆直径，取整"),
};

}  // namespace

const std::array<const char*, kCoefficientCount>& ShippedRuleTexts() { return kShippedRules; }

QString ShownRuleText(const QString& stored) {
    // The catalogue is looked up by the stored text itself: a text it does
    // not hold comes back unchanged.
    const QByteArray key = stored.toUtf8();
    return QCoreApplication::translate(kContext, key.constData());
}

}  // namespace wormgear
