// A started window model on the recording toolkit, as the tests and the headless driver use it.
#pragma once

#include "app/dump.h"
#include "app/form_model.h"
#include "recording_toolkit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace dieprofile::testing {

class ModelTest : public ::testing::Test {
protected:
    ModelTest() : model(toolkit) {
        toolkit.Attach(model);
        model.Form_Load();
        model.Show();
    }

    void Type(int index, const std::string& text) { model.ReplaceText(Text1Control(index), text); }

    // The profile the tool opens with, on a custom blank of 0.180 x 0.180 inch.
    void UseDefaultProfile() {
        model.PickRow(26);
        Type(10, "0.180");
        Type(5, "0.180");
    }

    // The dump without the lines a failed action may change: the focus and the selections.
    std::string DumpIgnoringFocus() const {
        std::string out;
        const std::string dump = Dump(model);
        std::size_t start = 0;
        while (start < dump.size()) {
            const std::size_t end = dump.find('\n', start);
            std::string line = dump.substr(start, end - start);
            start = end + 1;
            if (line.rfind("focus ", 0) == 0) {
                continue;
            }
            if (line.rfind("field ", 0) == 0) {
                // field NAME VISIBILITY SELSTART SELLENGTH "TEXT": drop the two numbers.
                std::size_t pos = line.find(' ', 6);
                pos = line.find(' ', pos + 1);
                const std::size_t text = line.find(' ', line.find(' ', pos + 1) + 1);
                line = line.substr(0, pos) + line.substr(text);
            }
            out += line + '\n';
        }
        return out;
    }

    RecordingToolkit toolkit;
    Form1Model model;
};

} // namespace dieprofile::testing
