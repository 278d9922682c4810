// The calculation of all grilles over a full order of 60 openings: the sizing
// rules alone, and the whole "ОК" handler of the main window (offscreen).

#include "main_window/main_window.h"
#include "model/sizing.h"
#include "widgets/look.h"
#include "widgets/messenger.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

void FillOrder(model::Order& order) {
    order.Quadro = 14;
    for (model::int16 i = 1; i <= model::MaxOpenings; ++i) {
        order.SetOpeningWidth(i, static_cast<model::int16>(600 + 40 * i));
        order.SetOpeningHeight(i, static_cast<model::int16>(1000 + 25 * i));
        order.SetOpeningTopGap(i, 10);
        order.SetOpeningBottomGap(i, 10);
        order.SetOpeningSideGap(i, 10);
    }
}

void SizeSixtyGrilles(benchmark::State& state) {
    model::Order order;
    FillOrder(order);
    for (auto _ : state) {
        for (model::int16 i = 1; i <= model::MaxOpenings; ++i) {
            model::SizeGrilleFrame(order, i);
            model::SizeGrilleSteps(order, i);
            model::SizeGrilleInserts(order, i);
        }
        benchmark::DoNotOptimize(order.GrilleAt(60).b);
    }
}
BENCHMARK(SizeSixtyGrilles);

class SilentMessenger final : public Messenger {
public:
    void Error(QWidget*, const QString&) override {}
    void Info(QWidget*, const QString&, const QString&) override {}
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

void CalculateAllInTheWindow(benchmark::State& state) {
    model::Order order;
    SilentMessenger messenger;
    MainWindow window(order, messenger);
    FillOrder(order);
    // Through the window's controls, as the user does.
    window.findChild<QLineEdit*>(QStringLiteral("txtCount"))->setText(QStringLiteral("60"));
    QPushButton* ok = window.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    for (auto _ : state) {
        ok->click();
        benchmark::DoNotOptimize(order.GrilleCount);
    }
}
BENCHMARK(CalculateAllInTheWindow);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyProgramLook();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
