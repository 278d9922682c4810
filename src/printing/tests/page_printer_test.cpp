// Printing a tall page: where its sheets end, and the PDF file offered when
// there is no printer.

#include "printing/page_printer.h"
#include "testsupport/file_size_limit.h"
#include "testsupport/ui_test_support.h"

#include <QFile>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

class PagePrinterTest : public QObject {
    Q_OBJECT
private slots:
    void slicesEndAtBreaks_data() {
        QTest::addColumn<double>("pageHeight");
        QTest::addColumn<QList<double>>("breaks");
        QTest::addColumn<QList<double>>("bottoms");
        QTest::newRow("fits one sheet") << 900.0 << QList<double>{300, 600} << QList<double>{900};
        QTest::newRow("no breaks: full sheets")
            << 2500.0 << QList<double>{} << QList<double>{1000, 2000, 2500};
        QTest::newRow("last break that fits")
            << 2500.0 << QList<double>{400, 950, 1270, 1540, 1810, 2080}
            << QList<double>{950, 1810, 2500};
        QTest::newRow("break too near the top is skipped")
            << 2000.0 << QList<double>{50, 1900} << QList<double>{1000, 2000};
        QTest::newRow("empty page is one sheet") << 0.0 << QList<double>{} << QList<double>{0};
    }

    void slicesEndAtBreaks() {
        QFETCH(double, pageHeight);
        QFETCH(QList<double>, breaks);
        QFETCH(QList<double>, bottoms);
        // Sheets 1000 high; each slice starts where the one before ended.
        QList<double> ends;
        double top = 0;
        for (const SheetSlice& slice :
             SliceIntoSheets(pageHeight, 1000, {breaks.begin(), breaks.end()})) {
            QCOMPARE(slice.top, top);
            ends << (top = slice.bottom);
        }
        QCOMPARE(ends, bottoms);
    }

    void withoutAPrinterOffersAPdfFile() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed: printing would not offer a PDF file");
        PrintJob job;
        job.title = QStringLiteral("Раскрой");
        job.suggestedFileName = QStringLiteral("Раскрой.pdf");
        job.size = QSizeF(1000, 1500);
        job.paint = [](QPainter& p, const QRectF&) { p.drawLine(0, 0, 1000, 1500); };
        RecordingMessenger messenger;

        // No answer: the dialog was cancelled.
        QCOMPARE(PrintOrSavePdf(nullptr, messenger, job), PrintOutcome::Cancelled);
        QCOMPARE(messenger.suggestions, QStringList{job.suggestedFileName});

        // A folder that does not exist: told in Russian, no file appears.
        const QString missing = dir_.filePath(QStringLiteral("нет/план.pdf"));
        messenger.saveAnswers << missing;
        QCOMPARE(PrintOrSavePdf(nullptr, messenger, job), PrintOutcome::Failed);
        QCOMPARE(messenger.errors.size(), 1);
        QVERIFY(messenger.errors[0].startsWith(QStringLiteral("Не удалось сохранить файл")));
        QVERIFY(!QFile::exists(missing));

        // A name without an extension gets ".pdf".
        const QString file = dir_.filePath(QStringLiteral("план"));
        messenger.saveAnswers << file;
        QCOMPARE(PrintOrSavePdf(nullptr, messenger, job), PrintOutcome::SavedAsPdf);
        QVERIFY(!QFile::exists(file));
        QVERIFY(QFile::exists(file + QStringLiteral(".pdf")));
    }

    // A write the disk cuts short at the end of the page fails the save and
    // keeps the file that was there.
    void aShortWriteKeepsTheFileThatWasThere() {
        const QString file = dir_.filePath(QStringLiteral("прежний.pdf"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        PrintJob job;
        job.size = QSizeF(1000, 1500);
        job.paint = [](QPainter& p, const QRectF&) {
            p.drawText(10, 10, QStringLiteral("Раскрой"));
        };
        QString error;
        bool written = false;
        {
            const FileSizeLimit limit(1024);
            written = WritePdf(file, job, &error);
        }
        QVERIFY(!written);
        QVERIFY(!error.isEmpty());
        QFile kept(file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old"));
    }

private:
    QTemporaryDir dir_;
};

RESHETKI_UI_TEST_MAIN(PagePrinterTest)
#include "page_printer_test.moc"
