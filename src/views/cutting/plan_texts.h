#pragma once

// The texts the window and the printed page show for a plan, in one place.

#include "plan_value.h"

#include <QString>
#include <QStringList>

class QDate;

// "1500 × 5 + 1000 × 2": the cuts of one bar of the pattern.
QString LengthsText(const cutting::Pattern& pattern);
// "1, 3, 4": the grilles whose pieces the pattern cuts.
QString GrillesText(const cutting::Pattern& pattern);
// "плеть 11750" or "обрезок 2500": what the pattern cuts.
QString SourceText(const cutting::Pattern& pattern);
// "плеть 6000 × 3: 1500 × 3 + 1000, остаток 740 мм": the pattern in one line.
QString PatternText(const cutting::Pattern& pattern);

// What the plan was made with, as the heading of the printed plan.
QString SettingsText(const cutting::Settings& settings);
QString TotalsText(const cutting::Plan& plan);
QString PurchasesText(const cutting::Plan& plan);
QString LeftoversText(const cutting::Plan& plan, int minUseful);
// "оптимально", or how far the plan may be from the best one.
QString StatusText(const PlanValue& value);

// The cutting sheet for the saw.
// "Карта раскроя — заказ № 123, 08.12.2026"; without the order when there is none.
QString SheetHeading(const QString& orderNumber, const QDate& date);
// "реш. 3": the grille a piece is cut for, as its label in a bar picture.
QString GrilleLabel(int grille);
// "1500 (реш. 3)": a piece in a list of a bar's pieces.
QString PieceText(const cutting::Piece& piece);
// "остаток 740 мм — в запас", or "— в отход" when shorter than minUseful;
// empty when nothing is left.
QString LeftoverNote(int leftover, int minUseful);
// "2986 мм — 5 шт. (реш. 1 × 1, реш. 2 × 4)": a line per piece length of
// the plan, longest first, so that the saw's stop is set once for each.
QStringList StopTexts(const cutting::Plan& plan);
