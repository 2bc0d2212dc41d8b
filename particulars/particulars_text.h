// The particulars' texts in the interface's language: their names, the
// defaults of 技术要求, and why an entry was refused. Qt Core; the Chinese
// keys are the data of particulars/particulars.h (context wormgear::Drawings).
#pragma once

#include <QCoreApplication>
#include <QString>

#include "particulars/particulars.h"

namespace wormgear {

class ParticularsText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Particulars)
};

// "蜗杆材料" in the interface's language.
QString ParticularName(ParticularId id);

// A text of particulars/particulars.h in the interface's language.
QString ParticularsDataText(const char* text);

// Why an entry cannot be kept, naming it and its limit:
// "“蜗杆材料”最多 40 个字符，现有 41 个字符。"
QString ParticularProblemText(const ParticularProblem& problem, const Particulars& particulars = {});

}  // namespace wormgear
