// Saving sheets through the save dialog: the file appears whole or not at
// all, nothing else is left in the folder, and several CSV sheets go into a
// file each.

#include "saving/sheet_files.h"

#include "testsupport/file_size_limit.h"
#include "testsupport/ui_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const std::vector<sheets::Sheet> TwoSheets = {
    {"Резка", {{{}, {"Длина, мм"}, {{sheets::Integer(1500)}}}}},
    {"Смета", {{{}, {"Цена, ₽"}, {{sheets::Fixed(1250, 2)}}}}}};

QByteArray Bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class SheetFilesTest : public QObject {
    Q_OBJECT
private slots:
    void aWorkbookIsSavedWholeOrNotAtAll() {
        RecordingMessenger messenger;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("17.xlsx"));
        QCOMPARE(SaveWorkbook(nullptr, messenger, QStringLiteral("17"), TwoSheets),
                 SaveOutcome::Cancelled);
        QCOMPARE(messenger.suggestions, QStringList{QStringLiteral("17.xlsx")});
        messenger.saveAnswers << file;
        QCOMPARE(SaveWorkbook(nullptr, messenger, QStringLiteral("17"), TwoSheets),
                 SaveOutcome::Saved);
        QVERIFY(Bytes(file).startsWith("PK")); // a zip, as every .xlsx is
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("17.xlsx")});

        messenger.saveAnswers << dir.filePath(QStringLiteral("нет такой папки/17.xlsx"));
        QCOMPARE(SaveWorkbook(nullptr, messenger, QStringLiteral("17"), TwoSheets),
                 SaveOutcome::Failed);
        QCOMPARE(messenger.errors.size(), 1);
        QVERIFY2(messenger.errors[0].startsWith(QStringLiteral("Не удалось сохранить файл")),
                 qPrintable(messenger.errors[0]));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("17.xlsx")});
    }

    // A file size limit fails the writes the way a full disk does: the CSV
    // file beside its target, the workbook already in its temporary file.
    void aFailedWriteLeavesTheFileThatWasThere() {
        RecordingMessenger messenger;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("17.csv"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const sheets::Sheet big{"Резка", {{{}, {std::string(4096, 'x')}, {}}}};
        messenger.saveAnswers << file << file;
        SaveOutcome outcome, book;
        {
            const FileSizeLimit limit(1024);
            outcome = SaveCsv(nullptr, messenger, QStringLiteral("17"), {big});
            book = SaveWorkbook(nullptr, messenger, QStringLiteral("17"), {big});
        }
        QCOMPARE(outcome, SaveOutcome::Failed);
        QCOMPARE(book, SaveOutcome::Failed);
        QCOMPARE(messenger.errors.size(), 2);
        for (const QString& error : messenger.errors)
            QVERIFY2(
                error.contains(
                    QStringLiteral("«%1»: ошибка записи, возможно, на диске нет места").arg(file)),
                qPrintable(error));
        QCOMPARE(Bytes(file), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("17.csv")});
    }

    void severalCsvSheetsGoIntoAFileEach() {
        RecordingMessenger messenger;
        QTemporaryDir dir;
        messenger.saveAnswers << dir.filePath(QStringLiteral("17.csv"));
        QCOMPARE(SaveCsv(nullptr, messenger, QStringLiteral("17"), TwoSheets), SaveOutcome::Saved);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("17 — Резка.csv"), QStringLiteral("17 — Смета.csv")}));
        QCOMPARE(Bytes(dir.filePath(QStringLiteral("17 — Смета.csv"))),
                 QByteArray("\xEF\xBB\xBF") +
                     QStringLiteral("Цена, ₽\r\n12,50\r\n").toUtf8());
        QCOMPARE(messenger.infos.size(), 1);
        QCOMPARE(OrderFileStem(QStringLiteral(" 17/2 ")), QStringLiteral("17_2"));
        QCOMPARE(OrderFileStem(QString()), QStringLiteral("Заказ"));
    }
};

QTEST_MAIN(SheetFilesTest)
#include "sheet_files_test.moc"
