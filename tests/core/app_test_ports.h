#pragma once

// The application's ports, faked: the window system and the set of every port.

#include <functional>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/app_delegate.h"
#include "fakes.h"
#include "given.h"
#include "ports/processes.h"
#include "ports/questions.h"
#include "ports/window_system.h"

namespace sorvel::testing {

// Answers questions from a script; an unscripted "save?" is cancelled.
class FakeQuestions : public Questions {
  public:
    SaveChoice askToSave(const std::string& scoreName, bool several) override {
        asked.push_back(scoreName + (several ? " (several)" : ""));
        if (saveAnswers.empty()) return SaveChoice::Cancel;
        const SaveChoice answer = saveAnswers.front();
        saveAnswers.erase(saveAnswers.begin());
        return answer;
    }
    bool askToRestore(const std::vector<std::string>& scoreNames) override {
        restoreOffers.push_back(scoreNames);
        return restore;
    }
    std::vector<SaveChoice> saveAnswers;
    std::vector<std::string> asked;
    bool restore = true;
    std::vector<std::vector<std::string>> restoreOffers;
};

// Processes by name; this one is "me".
class FakeProcesses : public Processes {
  public:
    std::string selfId() const override { return self; }
    bool running(const std::string& id) const override { return alive.count(id) > 0; }
    std::string self = "me";
    std::set<std::string> alive;
};

class FakeWindows : public WindowSystem {
  public:
    KeyWindow keyWindow() const override { return key; }
    std::vector<Document*> documents() const override {
        std::vector<Document*> open;
        for (const auto& d : docs) open.push_back(d.get());
        return open;
    }
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
    AppPorts ports() { return {alerts, dialogs, settings, windows, writer, questions, processes}; }
    FakeAlerts alerts;
    FakeQuestions questions;
    FakeProcesses processes;
    FakeDialogs dialogs;
    FakeSettings settings;
    FakeWindows windows;
    FakeWriter writer;
};

}  // namespace sorvel::testing
