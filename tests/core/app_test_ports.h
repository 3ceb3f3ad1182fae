#pragma once

// The application's ports, faked: the window system and the set of every port.

#include <functional>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/app_delegate.h"
#include "fakes.h"
#include "given.h"
#include "ports/window_system.h"

namespace sorvel::testing {

class FakeWindows : public WindowSystem {
  public:
    KeyWindow keyWindow() const override { return key; }
    Document* newScoreDocument() override {
        if (failNextWithBadAlloc) {
            failNextWithBadAlloc = false;
            throw std::bad_alloc();
        }
        docs.push_back(makeDocument());
        Document* doc = docs.back().get();
        titles[doc] = "Untitled";
        key = {KeyWindowKind::Score, doc};
        return doc;
    }
    std::string windowTitle(const Document& doc) const override {
        const auto it = titles.find(&doc);
        return it == titles.end() ? std::string() : it->second;
    }
    void setWindowTitle(Document& doc, const std::string& title) override { titles[&doc] = title; }
    void showTitleWindow() override { titleShown = true; }
    void closeTitleWindow() override { titleShown = false; }
    void showPreferencesWindow() override { prefsShown = true; }
    void closePreferencesWindow() override { prefsShown = false; }
    void applicationControlsChanged() override {}
    void runAfter(double seconds, std::function<void()> callback) override {
        scheduled.emplace_back(seconds, std::move(callback));
    }
    void addRecentFile(const std::string& path) override { recent.push_back(path); }
    void quit() override { ++quitRequests; }

    // Runs the scheduled callbacks once.
    void runScheduled() {
        auto due = std::move(scheduled);
        scheduled.clear();
        for (auto& [seconds, callback] : due) callback();
    }

    KeyWindow key;
    std::vector<std::unique_ptr<Document>> docs;
    bool failNextWithBadAlloc = false;
    std::map<const Document*, std::string> titles;
    bool titleShown = false;
    bool prefsShown = true;
    std::vector<std::pair<double, std::function<void()>>> scheduled;
    std::vector<std::string> recent;
    int quitRequests = 0;
};

// Every port of the application state, faked.
struct FakePorts {
    AppPorts ports() { return {alerts, dialogs, settings, windows, writer}; }
    FakeAlerts alerts;
    FakeDialogs dialogs;
    FakeSettings settings;
    FakeWindows windows;
    FakeWriter writer;
};

}  // namespace sorvel::testing
