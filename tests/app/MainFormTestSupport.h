// Helpers of the main window's tests: a private settings folder and answers to modal windows.
// Used on the test's (interface) thread.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <string>

namespace nvx::test {

// A fresh settings folder for one window, named by NVX_CONFIG_DIR while it lives.
class ConfigFolder {
public:
    ConfigFolder() { qputenv("NVX_CONFIG_DIR", dir_.path().toLocal8Bit()); }
    ~ConfigFolder() { qunsetenv("NVX_CONFIG_DIR"); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // The file's bytes; empty when it does not exist.
    std::string read(const QString& name) const;
    void write(const QString& name, const std::string& bytes) const;

private:
    QTemporaryDir dir_;
};

// Answers the first modal window of type T once it is open, for as long as this object lives (the test
// cannot: it is blocked in the code that opened the window).
template <class T>
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(T&)> act) : act_(std::move(act))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
                poll_.stop();
                done_ = true;
                act_(*window);
            }
        });
        poll_.start(10);
    }
    bool done() const { return done_; }

private:
    std::function<void(T&)> act_;
    QTimer poll_;
    bool done_ = false;
};

}  // namespace nvx::test
