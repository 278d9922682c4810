#pragma once

#include "plan_value.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// Plans off the user-interface thread, one plan at a time. Progress and the
// finished plan arrive as signals on the thread that owns the runner. A plan
// asked for while another runs stops the running one, whose result is
// dropped; destroying the runner stops its plan and waits for it, which the
// optimiser keeps short.
class PlanRunner : public QObject {
    Q_OBJECT
public:
    using Planner = std::function<cutting::Result(
        const std::vector<cutting::CutItem>&, const cutting::Settings&, const cutting::Control&)>;

    explicit PlanRunner(QObject* parent = nullptr);
    ~PlanRunner() override;

    // What plans; the optimiser unless a test stands in for it.
    void SetPlanner(Planner planner) { planner_ = std::move(planner); }

    void Start(std::vector<cutting::CutItem> pieces, cutting::Settings settings);
    // Asks the running plan to end with the best plan found so far.
    void Stop();
    bool Running() const { return future_.isRunning(); }

signals:
    void Progressed(const cutting::Progress& progress);
    void Finished(const PlanValue& value);

private:
    void Launch();
    void OnFinished();

    Planner planner_;
    std::optional<PlanValue> pending_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    bool stoppedByUser_ = false;
    QFuture<PlanValue> future_;
    QFutureWatcher<PlanValue> watcher_;
};
