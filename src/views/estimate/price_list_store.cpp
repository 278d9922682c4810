#include "price_list_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <array>

namespace {

struct Key {
    estimate::PriceField field;
    const char* name;
};

// Each field stored in its hundredths (kopecks, hundredths of a percent), as
// a whole number: what is read back is exactly what was saved.
constexpr std::array<Key, 6> Keys = {{
    {estimate::PriceField::MetalPerKg, "metal_per_kg"},
    {estimate::PriceField::PerJoint, "per_joint"},
    {estimate::PriceField::PerArea, "per_square_metre"},
    {estimate::PriceField::PaintPerArea, "paint_per_square_metre"},
    {estimate::PriceField::WasteAllowance, "waste_allowance"},
    {estimate::PriceField::Markup, "markup"},
}};

} // namespace

PriceListStore::PriceListStore(QString fileName)
    : fileName_(fileName.isEmpty() ? DefaultFileName() : std::move(fileName)) {
    Load();
}

QString PriceListStore::DefaultFileName() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("price_list.ini"));
}

void PriceListStore::Load() {
    if (!QFileInfo::exists(fileName_))
        return;
    auto damaged = [this](const QString& why) {
        return QStringLiteral("Файл цен «%1» повреждён: %2. Действуют начальные цены; файл не "
                              "перезаписывается, пока его не исправят или не удалят.")
            .arg(QDir::toNativeSeparators(fileName_), why);
    };
    QSettings file(fileName_, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        damage_ = damaged(QStringLiteral("его не удалось прочитать"));
        return;
    }
    estimate::PriceList read;
    for (const Key& key : Keys) {
        if (!file.contains(QLatin1String(key.name)))
            continue;
        bool number = false;
        const long long value = file.value(QLatin1String(key.name)).toString().toLongLong(&number);
        if (!number || !estimate::SetFieldValue(read, key.field, value)) {
            damage_ = damaged(QStringLiteral("значение «%1» неверно").arg(key.name));
            return;
        }
    }
    prices_ = read;
}

bool PriceListStore::Save(const estimate::PriceList& prices, QString& error) {
    prices_ = prices;
    if (!damage_.isEmpty()) {
        error = damage_;
        return false;
    }
    if (!QDir().mkpath(QFileInfo(fileName_).absolutePath())) {
        error = QStringLiteral("Не удалось создать папку для файла цен «%1».")
                    .arg(QDir::toNativeSeparators(fileName_));
        return false;
    }
    QSettings file(fileName_, QSettings::IniFormat);
    for (const Key& key : Keys)
        file.setValue(QLatin1String(key.name),
                      QString::number(estimate::FieldValue(prices, key.field)));
    file.sync();
    if (file.status() != QSettings::NoError) {
        error = QStringLiteral("Не удалось записать файл цен «%1»; цены действуют до выхода из "
                               "программы.")
                    .arg(QDir::toNativeSeparators(fileName_));
        return false;
    }
    return true;
}
