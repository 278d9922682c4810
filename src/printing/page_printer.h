#pragma once

// Printing one tall page: on the default printer when there is one,
// otherwise, at the user's choice, into a PDF file. The page is scaled to the
// width of the sheet and cut into as many sheets as it needs.

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <vector>

class Messenger;
class QPagedPaintDevice;
class QPainter;
class QWidget;

struct PrintJob {
    // Document name for the print queue and title of a PDF file.
    QString title;
    // Offered in the save dialog when there is no printer.
    QString suggestedFileName;
    // The page in its own units, for example twips.
    QSizeF size;
    // Paints the part of the page inside the given rectangle (page units);
    // what lies outside may be left out.
    std::function<void(QPainter&, const QRectF&)> paint;
    // Page heights at which a sheet may end, ascending; a sheet ends at the
    // last of them that fits, or where the sheet is full when none does.
    std::vector<double> breaks;
};

struct SheetSlice {
    double top;
    double bottom;
};

// The bands of the page that go on successive sheets; always at least one.
std::vector<SheetSlice> SliceIntoSheets(double pageHeight, double sheetHeight,
                                        const std::vector<double>& breaks);

// Paints the job on the device, sheet after sheet. Returns the number of
// sheets, or 0 when painting could not start or a new sheet failed.
int PaintOnSheets(QPagedPaintDevice& device, const PrintJob& job);

// Writes the job as an A4 PDF file. The file appears only when it is
// complete; on failure `error` gets the reason and an existing file is kept.
bool WritePdf(const QString& fileName, const PrintJob& job, QString* error = nullptr);

enum class PrintOutcome { Printed, SavedAsPdf, Cancelled, Failed };

// Prints on the default printer. Without a printer it asks for a PDF file
// name through the messenger; an empty answer cancels quietly. Failures are
// told to the user through the messenger.
PrintOutcome PrintOrSavePdf(QWidget* parent, Messenger& messenger, const PrintJob& job);
