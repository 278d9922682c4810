#include "sheet_files.h"

#include "sheets/csv_text.h"
#include "sheets/workbook_file.h"
#include "widgets/messenger.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <memory>

namespace {

QString WriteFailed() {
    return QStringLiteral("ошибка записи, возможно, на диске нет места");
}

QString Reason(const QSaveFile& file) {
    switch (file.error()) {
    case QFileDevice::OpenError:
        return QStringLiteral("не удалось создать файл: нет такой папки или нет доступа к ней");
    case QFileDevice::WriteError:
        return WriteFailed();
    case QFileDevice::RenameError:
        return QStringLiteral("не удалось заменить прежний файл");
    default:
        return file.errorString();
    }
}

QString Failure(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось сохранить файл «%1»: %2. Прежний файл не изменён.")
        .arg(QDir::toNativeSeparators(path), reason);
}

// Writes a file to be moved in place on commit; "" or the message. The
// commit closes the file without looking at how the flush of its buffer went,
// so a write the disk cut short (a full disk, a file size limit) would put a
// shortened file in place: the bytes are flushed and checked here.
QString Begin(QSaveFile& file, const QByteArray& bytes) {
    if (!file.open(QIODevice::WriteOnly))
        return Failure(file.fileName(), Reason(file));
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = Reason(file);
        file.cancelWriting();
        return Failure(file.fileName(), reason);
    }
    return {};
}

// The workbook's bytes, or "" and the reason: libxlsxwriter writes to a
// named file, so it writes into a temporary one first.
QString WorkbookBytes(const std::vector<sheets::Sheet>& sheets, QByteArray& bytes) {
    QTemporaryFile temporary;
    if (!temporary.open())
        return QStringLiteral("не удалось создать временный файл (%1)")
            .arg(temporary.errorString());
    const std::string error =
        sheets::WriteWorkbook(QFile::encodeName(temporary.fileName()).toStdString(), sheets);
    if (!error.empty())
        return QString::fromStdString(error);
    QFile written(temporary.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return QStringLiteral("не удалось прочитать временный файл (%1)")
            .arg(written.errorString());
    bytes = written.readAll();
    return {};
}

// Writes every file beside its target, then moves them in place one after
// another; "" or the message.
QString WriteFiles(const std::vector<QString>& paths, const std::vector<QByteArray>& contents) {
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (size_t k = 0; k < paths.size(); ++k) {
        files.push_back(std::make_unique<QSaveFile>(paths[k]));
        const QString error = Begin(*files.back(), contents[k]);
        if (!error.isEmpty())
            return error;
    }
    for (const auto& file : files)
        if (!file->commit())
            return Failure(file->fileName(), Reason(*file));
    return {};
}

// The outcome of a save that got as far as writing; a failure is told.
SaveOutcome Told(QWidget* parent, Messenger& messenger, const QString& error) {
    if (error.isEmpty())
        return SaveOutcome::Saved;
    messenger.Error(parent, error);
    return SaveOutcome::Failed;
}

} // namespace

QString OrderFileStem(const QString& orderNumber) {
    QString stem = orderNumber.trimmed();
    for (QChar& c : stem)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c < QLatin1Char(' '))
            c = QLatin1Char('_');
    return stem.isEmpty() || stem == QLatin1String(".") || stem == QLatin1String("..")
               ? QStringLiteral("Заказ")
               : stem;
}

SaveOutcome SaveWorkbook(QWidget* parent, Messenger& messenger, const QString& suggestedName,
                         const std::vector<sheets::Sheet>& sheets) {
    const QString path = messenger.SaveFileName(parent, QStringLiteral("Сохранить в Excel"),
                                                suggestedName + QStringLiteral(".xlsx"),
                                                QStringLiteral("Книга Excel (*.xlsx)"));
    if (path.isEmpty())
        return SaveOutcome::Cancelled;
    QByteArray bytes;
    const QString error = WorkbookBytes(sheets, bytes);
    return Told(parent, messenger,
                error.isEmpty() ? WriteFiles({path}, {bytes}) : Failure(path, error));
}

std::vector<QString> CsvFileNames(const QString& chosen, const std::vector<sheets::Sheet>& sheets) {
    if (sheets.size() == 1)
        return {chosen};
    const QFileInfo file(chosen);
    const QString stem = file.suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0
                             ? file.completeBaseName()
                             : file.fileName();
    std::vector<QString> names;
    for (const sheets::Sheet& sheet : sheets)
        names.push_back(file.dir().filePath(
            QStringLiteral("%1 — %2.csv").arg(stem, QString::fromStdString(sheet.name))));
    return names;
}

SaveOutcome SaveCsv(QWidget* parent, Messenger& messenger, const QString& suggestedName,
                    const std::vector<sheets::Sheet>& sheets) {
    const QString path = messenger.SaveFileName(parent, QStringLiteral("Сохранить CSV"),
                                                suggestedName + QStringLiteral(".csv"),
                                                QStringLiteral("CSV, разделитель «;» (*.csv)"));
    if (path.isEmpty())
        return SaveOutcome::Cancelled;
    const std::vector<QString> paths = CsvFileNames(path, sheets);
    std::vector<QByteArray> contents;
    for (const sheets::Sheet& sheet : sheets)
        contents.push_back(QByteArray::fromStdString(sheets::CsvText(sheet)));
    if (Told(parent, messenger, WriteFiles(paths, contents)) == SaveOutcome::Failed)
        return SaveOutcome::Failed;
    if (paths.size() > 1) {
        QStringList names;
        for (const QString& p : paths)
            names << QFileInfo(p).fileName();
        messenger.Info(parent, QStringLiteral("Сохранить CSV"),
                       QStringLiteral("Сохранены файлы:\n%1").arg(names.join(QLatin1Char('\n'))));
    }
    return SaveOutcome::Saved;
}
