// Dialogs for tests: answers come from queues, every message is recorded with
// its caption, and a question or file dialog the test did not script fails the
// test instead of waiting for a person.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <ostream>
#include <utility>
#include <vector>

#include "dialogs/dialogs.h"

namespace wormgear {

class ScriptedDialogs : public Dialogs {
 public:
    struct Message {
        QString caption;
        QString text;
    };

    std::vector<Message> messages;       // every box shown, in order
    std::vector<QString> questions;      // every yes/no question asked
    std::vector<QString> proposedNames;  // proposed names of the save dialogs shown
    std::vector<QString> filters;        // filters of the file dialogs shown
    std::deque<bool> answers;            // answers to askYesNo
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<QString>> openAnswers;

    void message(const QString& caption, const QString& text) override { messages.push_back({caption, text}); }
    bool askYesNo(const QString& caption, const QString& text) override {
        questions.push_back(caption + QStringLiteral(": ") + text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> saveFileName(const QString& filter, const QString& proposed) override {
        filters.push_back(filter);
        proposedNames.push_back(proposed);
        if (saveAnswers.empty()) {
            ADD_FAILURE() << "unexpected save dialog for " << proposed.toStdString();
            return std::nullopt;
        }
        return Take(saveAnswers);
    }
    std::optional<QString> openFileName(const QString& filter) override {
        filters.push_back(filter);
        if (openAnswers.empty()) {
            ADD_FAILURE() << "unexpected open dialog for " << filter.toStdString();
            return std::nullopt;
        }
        return Take(openAnswers);
    }

    // The next scripted file answer. Returned by value from the front, then
    // dropped, so no reference into the queue outlives the pop.
    static std::optional<QString> Take(std::deque<std::optional<QString>>& queue) {
        std::optional<QString> answer;
        answer.swap(queue.front());
        queue.pop_front();
        return answer;
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : messages) texts << m.text;
        return texts;
    }
    // The first line of every message: the command's own text, without the
    // file and reason a failure adds beneath it.
    QStringList messageHeadlines() const {
        QStringList lines;
        for (const auto& m : messages) lines << m.text.section(QLatin1Char('\n'), 0, 0);
        return lines;
    }
    // What a message says beneath its first line; empty when nothing.
    static QString Detail(const Message& message) { return message.text.section(QLatin1Char('\n'), 1); }
};

}  // namespace wormgear

// Failed expectations and their notes show texts as text.
inline std::ostream& operator<<(std::ostream& out, const QString& text) { return out << text.toStdString(); }
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
