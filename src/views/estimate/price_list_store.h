#pragma once

// The workshop's price list, kept per user between runs in the platform's
// configuration folder (not in the order file). The file is replaced whole
// or not at all; one that cannot be read as a price list is reported and
// never written over, so a slip of the user's editor costs nothing.

#include "estimate/price_list.h"

#include <QString>

class PriceListStore {
public:
    // Reads `fileName`, or the user's price list when it is empty. A missing
    // file gives the starting prices.
    explicit PriceListStore(QString fileName = {});

    const estimate::PriceList& Prices() const { return prices_; }
    // Why the file could not be read ("" when it could): the prices are then
    // the starting ones and are not saved.
    const QString& Damage() const { return damage_; }
    const QString& FileName() const { return fileName_; }

    // Keeps the prices and writes them. False, with `error` set and the
    // file as it was, when the file is damaged or cannot be written; the
    // prices in use are then those given, for this run only.
    bool Save(const estimate::PriceList& prices, QString& error);

    // The user's price list file.
    static QString DefaultFileName();

private:
    void Load();

    QString fileName_;
    estimate::PriceList prices_;
    QString damage_;
};
