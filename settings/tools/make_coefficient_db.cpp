// Build step: turns coefficients.tsv into the shipped coefficient database.
// Usage: make_coefficient_db <source.tsv> <output database>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <exception>

#include "settings/tolerance_schema.h"
#include "settings/tools/coefficient_db_writer.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_coefficient_db <source.tsv> <output database>\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    try {
        wormgear::CoefficientTableSpec table = wormgear::ReadCoefficientSource(source);
        // The tolerance table ships empty: its numbers are the designer's to enter.
        table.afterwards << QString::fromLatin1(wormgear::kCreateToleranceTable);
        if (table.rows.size() != 15) {
            std::fprintf(stderr, "%s: expected 15 rows, found %lld\n", argv[1],
                         static_cast<long long>(table.rows.size()));
            return 1;
        }
        wormgear::WriteCoefficientDatabase(output, table);
    } catch (const std::exception& error) {
        QFile::remove(output);  // never leave a half-written database for the build to ship
        std::fprintf(stderr, "make_coefficient_db: %s\n", error.what());
        return 1;
    }
    return 0;
}
