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

    // The same die in millimetres when asked: a blank of one's own keeps its numbers when the unit
    // changes, so its 0.180 in are retyped as 4.572 mm.
    void UseDefaultProfile(bool millimetres) {
        UseDefaultProfile();
        if (millimetres) {
            model.ChooseOption(1);
            Type(10, "4.572");
            Type(5, "4.572");
        }
    }

    // The default profile in inches, or its die of the same size in millimetres, calculated.
    void CalculateDefaultOrMillimetres(bool millimetres) {
        if (millimetres) {
            model.ChooseOption(1);
            model.PickRow(26);
            Type(10, "4.572");
            Type(5, "4.572");
        } else {
            UseDefaultProfile();
        }
        model.Command1_Click();
    }

    std::string DumpIgnoringFocus() const { return dieprofile::DumpIgnoringFocus(model); }

    HeadlessToolkit toolkit;
    Form1Model model;
};

} // namespace dieprofile::testing
