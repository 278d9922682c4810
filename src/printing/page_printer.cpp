#include "page_printer.h"

#include "widgets/messenger.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include <algorithm>

std::vector<SheetSlice> SliceIntoSheets(double pageHeight, double sheetHeight,
                                        const std::vector<double>& breaks) {
    std::vector<SheetSlice> slices;
    if (!(pageHeight > 0) || !(sheetHeight > 0)) {
        slices.push_back({0, std::max(pageHeight, 0.0)});
        return slices;
    }
    // Breaks closer than this to the sheet's top would make a needlessly
    // short sheet; a band of a few lines is still worth a sheet.
    const double shortest = sheetHeight / 8;
    double top = 0;
    while (top < pageHeight) {
        const double full = top + sheetHeight;
        double bottom = pageHeight;
        if (full < pageHeight) {
            bottom = full;
            for (double b : breaks)
                if (b > top + shortest && b <= full)
                    bottom = b;
        }
        slices.push_back({top, bottom});
        top = bottom;
    }
    return slices;
}

int PaintOnSheets(QPagedPaintDevice& device, const PrintJob& job) {
    QPainter painter;
    if (!job.paint || !(job.size.width() > 0) || !painter.begin(&device))
        return 0;
    const double scale = device.width() / job.size.width();
    const double sheetHeight = device.height() / scale;
    const auto slices = SliceIntoSheets(job.size.height(), sheetHeight, job.breaks);
    int sheets = 0;
    for (const SheetSlice& slice : slices) {
        if (sheets > 0 && !device.newPage()) {
            painter.end();
            return 0;
        }
        const QRectF band(0, slice.top, job.size.width(), slice.bottom - slice.top);
        painter.save();
        painter.scale(scale, scale);
        painter.translate(0, -slice.top);
        painter.setClipRect(band);
        job.paint(painter, band);
        painter.restore();
        ++sheets;
    }
    return painter.end() ? sheets : 0;
}

bool WritePdf(const QString& fileName, const PrintJob& job, QString* error) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    int sheets = 0;
    {
        QPdfWriter writer(&file);
        writer.setTitle(job.title);
        writer.setCreator(QStringLiteral("Расчёт решёток"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        sheets = PaintOnSheets(writer, job);
    }
    // The commit closes the file without looking at how the flush of its last
    // buffered bytes went: a disk that cut them short would put a shortened
    // file in place, so they are flushed and checked here.
    const bool flushed = sheets > 0 && file.flush();
    if (!flushed || file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.error() != QFileDevice::NoError
                         ? file.errorString()
                         : QStringLiteral("не удалось подготовить страницы");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

namespace {

PrintOutcome SaveAsPdf(QWidget* parent, Messenger& messenger, const PrintJob& job) {
    QString fileName = messenger.SaveFileName(
        parent, QStringLiteral("Принтер не установлен — сохранить в файл PDF"),
        job.suggestedFileName, QStringLiteral("Документы PDF (*.pdf)"));
    if (fileName.isEmpty())
        return PrintOutcome::Cancelled;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    QString error;
    if (!WritePdf(fileName, job, &error)) {
        messenger.Error(parent, QStringLiteral("Не удалось сохранить файл «%1»: %2.")
                                    .arg(QDir::toNativeSeparators(fileName), error));
        return PrintOutcome::Failed;
    }
    return PrintOutcome::SavedAsPdf;
}

} // namespace

PrintOutcome PrintOrSavePdf(QWidget* parent, Messenger& messenger, const PrintJob& job) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return SaveAsPdf(parent, messenger, job);

    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(job.title);
    if (PaintOnSheets(printer, job) == 0 || printer.printerState() == QPrinter::Error) {
        messenger.Error(
            parent,
            QStringLiteral("Не удалось напечатать на принтере «%1».").arg(info.printerName()));
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}
