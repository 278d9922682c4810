#include "plan_runner.h"

#include <QtConcurrent>

#include <exception>
#include <new>

namespace {

cutting::Result Failed(std::string message) {
    cutting::Result result;
    result.error = std::move(message);
    return result;
}

} // namespace

PlanRunner::PlanRunner(QObject* parent) : QObject(parent) {
    planner_ = [](const auto& pieces, const auto& settings, const auto& control) {
        return cutting::PlanCutting(pieces, settings, control);
    };
    connect(&watcher_, &QFutureWatcher<PlanValue>::finished, this, &PlanRunner::OnFinished);
}

PlanRunner::~PlanRunner() {
    pending_.reset();
    if (cancel_)
        cancel_->store(true);
    future_.waitForFinished();
}

void PlanRunner::Start(std::vector<cutting::CutItem> pieces, cutting::Settings settings) {
    pending_ = PlanValue{std::move(pieces), std::move(settings), {}, false};
    if (Running())
        cancel_->store(true); // OnFinished starts the pending plan
    else
        Launch();
}

void PlanRunner::Stop() {
    if (!Running())
        return;
    stoppedByUser_ = true;
    cancel_->store(true);
}

void PlanRunner::Launch() {
    PlanValue request = std::move(*pending_);
    pending_.reset();
    stoppedByUser_ = false;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    // The runner outlives the plan (its destructor waits), so the worker may
    // post to it; posts still queued when it goes are dropped with it.
    future_ = QtConcurrent::run([this, request, cancel = cancel_, planner = planner_]() mutable {
        cutting::Control control;
        control.cancel = cancel.get();
        control.progress = [this](const cutting::Progress& progress) {
            QMetaObject::invokeMethod(
                this, [this, progress] { emit Progressed(progress); }, Qt::QueuedConnection);
        };
        // Nothing may escape a worker thread: a failure becomes a refused plan.
        try {
            request.result = planner(request.pieces, request.settings, control);
        } catch (const std::bad_alloc&) {
            request.result = Failed("Недостаточно памяти для расчёта раскроя.");
        } catch (const std::exception& e) {
            request.result =
                Failed(std::string("Внутренняя ошибка при расчёте раскроя: ") + e.what());
        } catch (...) {
            request.result = Failed("Внутренняя ошибка при расчёте раскроя.");
        }
        return request;
    });
    watcher_.setFuture(future_);
}

void PlanRunner::OnFinished() {
    if (pending_) {
        Launch();
        return;
    }
    PlanValue value = future_.result();
    value.stopped = stoppedByUser_;
    emit Finished(value);
}
