#pragma once

// Saving sheets as files the user names in a save dialog: an Excel workbook
// or CSV files. Each file is written whole beside its target and moved in
// place only when complete (QSaveFile), so a failure leaves no partial file
// and a file of that name as it was; nothing the sheets were made from
// changes either way.

#include "sheets/table.h"

#include <QString>

#include <vector>

class Messenger;
class QWidget;

enum class SaveOutcome { Saved, Cancelled, Failed };

// Asks for the workbook's name, suggesting `suggestedName` + ".xlsx", and
// writes the sheets into it. Failures are told through the messenger.
SaveOutcome SaveWorkbook(QWidget* parent, Messenger& messenger, const QString& suggestedName,
                         const std::vector<sheets::Sheet>& sheets);

// Asks for a CSV file's name, suggesting `suggestedName` + ".csv". One sheet
// goes into that file; several go into a file each, named after the chosen
// one and the sheet ("17 — Резка.csv"), and the user is told their names.
SaveOutcome SaveCsv(QWidget* parent, Messenger& messenger, const QString& suggestedName,
                    const std::vector<sheets::Sheet>& sheets);

// The files SaveCsv writes for the chosen name.
std::vector<QString> CsvFileNames(const QString& chosen, const std::vector<sheets::Sheet>& sheets);

// A name for the files of an order: its number with the characters a file
// name cannot hold replaced, or "Заказ" when there is none.
QString OrderFileStem(const QString& orderNumber);
