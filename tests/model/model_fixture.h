// A started window model on the headless toolkit, as the tests and the headless driver use it.
#pragma once

#include "app/dump.h"
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "support/dump_ignoring_focus.h"

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

    // The same profile in millimetres, on a custom blank of 4.572 x 4.572 mm.
    void UseMillimetreProfile() {
        model.ChooseOption(1);
        model.PickRow(26);
        Type(10, "4.572");
        Type(5, "4.572");
    }

    std::string DumpIgnoringFocus() const { return dieprofile::DumpIgnoringFocus(model); }

    HeadlessToolkit toolkit;
    Form1Model model;
};

} // namespace dieprofile::testing
