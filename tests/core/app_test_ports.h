#pragma once

// Test doubles of the application's ports and a temporary folder.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/app_delegate.h"
#include "edit_test_document.h"
#include "ports/alerts.h"
#include "ports/file_dialogs.h"
#include "ports/processes.h"
#include "ports/questions.h"
#include "ports/settings.h"
#include "ports/text_file_writer.h"
#include "ports/window_system.h"

namespace sorvel::testing {

struct Alert {
    std::string text;
    std::string informative;
};

class FakeAlerts : public Alerts {
  public:
    void showAlert(const std::string& text, const std::string& informative) override {
        shown.push_back({text, informative});
    }
    bool confirm(const std::string& text, const std::string& informative,
                 const std::string& acceptTitle) override {
        asked.push_back({text, informative + "|" + acceptTitle});
        return confirmAnswer;
    }
    std::vector<Alert> shown;
    // Questions, their informative text and button joined by "|", and the answer to give.
    std::vector<Alert> asked;
    bool confirmAnswer = false;
};

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

class FakeDialogs : public FileDialogs {
  public:
    std::optional<std::string> saveFile(const std::string& suggestedName) override {
        saveSuggestions.push_back(suggestedName);
        return saveAnswer;
    }
    std::optional<std::string> openFile() override {
        ++openCalls;
        return openAnswer;
    }
    std::optional<std::string> chooseFolder(const std::string& message) override {
        folderMessages.push_back(message);
        return folderAnswer;
    }
    std::optional<std::string> saveAnswer, openAnswer, folderAnswer;
    std::vector<std::string> saveSuggestions, folderMessages;
    int openCalls = 0;
};

class FakeSettings : public Settings {
  public:
    bool has(const std::string& key) const override { return values.count(key) > 0; }
    std::string get(const std::string& key) const override {
        const auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    }
    void set(const std::string& key, const std::string& value) override { values[key] = value; }
    void sync() override { synced = values; }
    std::map<std::string, std::string> values;
    // What the last sync stored permanently.
    std::map<std::string, std::string> synced;
};

class FakeWriter : public TextFileWriter {
  public:
    std::optional<std::string> writeFile(const std::string& path, std::string_view bytes) override {
        if (failWith) return failWith;
        files[path] = std::string(bytes);
        if (writeThrough) std::ofstream(path, std::ios::binary) << bytes;
        return std::nullopt;
    }
    std::optional<std::string> failWith;
    // Also writes the file, for readers that look at the disk afterwards.
    bool writeThrough = false;
    std::map<std::string, std::string> files;
};

class FakeWindows : public WindowSystem {
  public:
    KeyWindow keyWindow() const override { return key; }
    std::vector<Document*> documents() const override {
        std::vector<Document*> open;
        for (const auto& d : docs) {
            if (!closed.count(d.get())) open.push_back(d.get());
        }
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
    std::set<const Document*> closed;
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

// A fresh folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("sorvel_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path p = path_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }

  private:
    std::filesystem::path path_;
};

}  // namespace sorvel::testing
