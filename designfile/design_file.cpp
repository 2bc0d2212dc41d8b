// Reading and filling the thirteen cells of a design file.
#include "designfile/design_file.h"

namespace wormgear {

DesignInputs ReadDesignFile(const std::string& path, char decimalSeparator) {
    const Workbook book = Workbook::Open(path);
    DesignInputs inputs;
    for (int row = 1; row <= kDesignFieldCount; ++row)
        inputs.*DesignFields()[row - 1].text = book.CellText(row, 1, decimalSeparator);
    return inputs;
}

void PutDesignInputs(Workbook& book, const DesignInputs& inputs) {
    for (int row = 1; row <= kDesignFieldCount; ++row) book.SetCellText(row, 1, inputs.*DesignFields()[row - 1].text);
}

}  // namespace wormgear
