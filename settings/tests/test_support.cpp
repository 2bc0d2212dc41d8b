#include "settings/tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace wormgear::testing {

CoefficientTableSpec ShippedTable() { return ReadCoefficientSource(QStringLiteral(WORMGEAR_COEFFICIENT_SOURCE)); }

CoefficientTableSpec NumberedTable(int rows) {
    CoefficientTableSpec table;
    table.columns = StandardCoefficientColumns();
    for (int r = 1; r <= rows; ++r) table.rows << QVariantList{r, QStringLiteral("规则 %1").arg(r), r + 0.25, r + 0.25};
    return table;
}

ProgramDirectory::ProgramDirectory() {
    EXPECT_TRUE(dir_.isValid());
    EXPECT_TRUE(QFile::copy(QStringLiteral(WORMGEAR_SHIPPED_DB), database()));
    EXPECT_TRUE(QFile::copy(QStringLiteral(WORMGEAR_SHIPPED_CCQ), file(QStringLiteral("db1.ccq"))));
    // The build output may be read-only in a packaging tree; the copies are ours.
    QFile::setPermissions(database(), QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(file(QStringLiteral("db1.ccq")), QFile::ReadOwner | QFile::WriteOwner);
}

void ProgramDirectory::write(const QString& name, const CoefficientTableSpec& table) const {
    WriteCoefficientDatabase(file(name), table);
}

void ProgramDirectory::writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile out(file(name));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
}

QByteArray ProgramDirectory::bytes(const QString& name) const {
    QFile in(file(name));
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll();
}

QStringList ProgramDirectory::files() const {
    return QDir(path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

void Execute(const QString& databasePath, const QStringList& statements) {
    const QString name = QStringLiteral("test-execute");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        for (const QString& statement : statements)
            EXPECT_TRUE(query.exec(statement))
                << statement.toStdString() << ": " << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

QVariant StoredN(const QString& databasePath, int row) {
    const QString name = QStringLiteral("test-stored-n");
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        EXPECT_TRUE(db.open());
        QSqlQuery query(QStringLiteral("SELECT * FROM nzhi"), db);
        for (int r = 1; r <= row && query.next(); ++r)
            if (r == row) value = query.value(2);
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

}  // namespace wormgear::testing
