// Incremental updates of the PDFs Qt writes: objects appended after the
// original file with a cross-reference section and a trailer that points back
// to the original one, so that every byte Qt wrote stays where it was.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace wormgear {

// What an update needs of the file's last trailer.
struct PdfTrailer {
    int size = 0;  // the next free object number
    int root = 0, info = 0;
    long startxref = 0;  // where the last cross-reference section begins
    std::string id;      // "/ID [<...> <...>]", or empty
};
// Throws std::runtime_error when the PDF is not laid out as Qt writes it.
PdfTrailer ReadPdfTrailer(const std::string& pdf);

// The dictionary of object `number` ("6 0 obj\n<<...>>"), without its outer
// brackets. Throws std::runtime_error when there is none.
std::string PdfObjectDictionary(const std::string& pdf, int number);

// Appends `objects` (number, body: "<< ... >>" or a stream) to `pdf` as an
// update, its trailer with /Size `size`.
void AppendPdfUpdate(std::string& pdf, const std::vector<std::pair<int, std::string>>& objects,
                     const PdfTrailer& trailer, int size);

// The font dictionaries whose /BaseFont names a font that a descriptor names
// with its subset tag, with the tag put in. Qt embeds subsets of its fonts
// and tags their descriptors' names ("/FontName /QLBAAA+WenQuanYiMicroHei")
// but not the fonts' /BaseFont, which PDF asks to be the same name.
std::vector<std::pair<int, std::string>> FontsToTag(const std::string& pdf);

// The PDF with its fonts' names tagged by an update (unchanged when there is
// nothing to tag): readers then know the embedded fonts as subsets.
std::string WithTaggedFontSubsets(const std::string& pdf);

}  // namespace wormgear
