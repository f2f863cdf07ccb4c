#pragma once

#include "platform/Prompter.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

// A prompter whose answers a test lays out in advance. Every request is kept
// for the test to inspect; a prompt without a prepared answer fails the test
// and is answered as cancelled.
class ScriptedPrompter final : public platform::Prompter {
public:
    std::deque<platform::PromptButton> buttons;
    std::deque<std::optional<QString>> texts; // answers of input, file and folder prompts
    std::deque<std::optional<platform::FindRequest>> findAnswers;
    std::deque<bool> printAnswers;
    // Whether the program under test takes its windows for seen.
    bool seen = true;

    std::vector<platform::MessageRequest> messages;
    std::vector<platform::InputRequest> inputs;
    std::vector<platform::FileRequest> files;
    std::vector<platform::FolderRequest> folders;
    std::vector<platform::FindRequest> finds;

    platform::PromptButton message(const platform::MessageRequest &request) override
    {
        messages.push_back(request);
        return next(buttons, platform::PromptButton::Cancel);
    }
    std::optional<QString> input(const platform::InputRequest &request) override
    {
        inputs.push_back(request);
        return nextText();
    }
    std::optional<QString> fileName(const platform::FileRequest &request) override
    {
        files.push_back(request);
        return nextText();
    }
    std::optional<QString> folder(const platform::FolderRequest &request) override
    {
        folders.push_back(request);
        return nextText();
    }
    std::optional<platform::FindRequest> find(const platform::FindRequest &request) override
    {
        finds.push_back(request);
        if (findAnswers.empty()) {
            ADD_FAILURE() << "unexpected prompt";
            return std::nullopt;
        }
        const bool given = findAnswers.front().has_value();
        const platform::FindRequest answer = findAnswers.front().value_or(platform::FindRequest{});
        findAnswers.pop_front();
        return given ? std::make_optional(answer) : std::nullopt;
    }
    bool printSetup(QPrinter &) override { return next(printAnswers, false); }
    bool canBeSeen() const override { return seen; }

private:
    // Kept apart from next(): GCC 12 warns falsely when a template copies an optional<QString>.
    std::optional<QString> nextText()
    {
        if (texts.empty()) {
            ADD_FAILURE() << "unexpected prompt";
            return std::nullopt;
        }
        const bool given = texts.front().has_value();
        const QString text = texts.front().value_or(QString());
        texts.pop_front();
        return given ? std::make_optional(text) : std::nullopt;
    }

    template <typename T>
    static T next(std::deque<T> &answers, T cancelled)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected prompt";
            return cancelled;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
