#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// How the main window owns each of its secondary windows. They are top-level
// windows of their own, without a Qt parent, so the owner deletes what is
// left of them when it goes. A window is created hidden the first time it is
// needed; one that destroyed itself when the user closed it through its frame
// is created afresh, in its start state, on next use.
template <class Window> class SecondaryWindow {
public:
    explicit SecondaryWindow(std::function<Window*()> create) : create_(std::move(create)) {}
    ~SecondaryWindow() { delete window_.data(); }
    SecondaryWindow(const SecondaryWindow&) = delete;
    SecondaryWindow& operator=(const SecondaryWindow&) = delete;

    Window& Get() {
        if (window_.isNull())
            window_ = create_();
        return *window_;
    }
    // The window if it exists, without creating it.
    Window* Existing() const { return window_.data(); }

    // Shows the window (creating it if needed) and brings it to the front.
    Window& Show() {
        Window& window = Get();
        window.show();
        window.raise();
        window.activateWindow();
        return window;
    }
    void Close() {
        if (!window_.isNull())
            window_->close();
    }

private:
    std::function<Window*()> create_;
    QPointer<Window> window_;
};
