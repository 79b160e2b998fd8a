#include "form/Form.h"

#include <gtest/gtest.h>

namespace ondrix {

TEST(Form, ControlArraysKeepTheirDesignPlaces)
{
    Form f;
    EXPECT_EQ(f.Bobina[0]->left(), 10080);
    EXPECT_EQ(f.Bobina[0]->top(), 1920);
    EXPECT_EQ(f.Bobina[15]->left(), 10080 - 480 * 7);
    EXPECT_EQ(f.Bobina[15]->top(), 840);
    EXPECT_EQ(f.Shape6[3]->left(), 9960 - 480);
    EXPECT_EQ(f.Option1[7]->top(), 360 + 360 * 7);
    EXPECT_EQ(f.DInput[9]->left(), 6360);
    EXPECT_EQ(f.DInput[9]->top(), 1920);
    EXPECT_EQ(f.ConnettoreInput[10]->height(), 255);
    EXPECT_EQ(f.Bobina[4]->container(), &f.Frame2);
}

TEST(Form, SelectingAnOptionDeselectsItsGroupOnly)
{
    Form f;
    f.Option1[2]->setValue(true);
    EXPECT_TRUE(f.OptOutput.value());
    f.Option1[5]->setValue(true);
    EXPECT_FALSE(f.Option1[2]->value());
    f.OptInput.setValue(true);
    EXPECT_FALSE(f.OptOutput.value());
    EXPECT_TRUE(f.Option1[5]->value());
}

TEST(Form, ListTextSelectsAMatchingEntryOnly)
{
    Form f;
    f.Combo2.addItem(" 1");
    f.Combo2.addItem(" 2");
    f.Combo2.setText("1");
    EXPECT_EQ(f.Combo2.listIndex(), -1);
    EXPECT_EQ(f.Combo2.text(), "1");
    f.Combo2.setText(" 2");
    EXPECT_EQ(f.Combo2.listIndex(), 1);
    f.Combo2.setListIndex(0);
    EXPECT_EQ(f.Combo2.text(), " 1");
    f.Combo2.setListIndex(7);  // no such entry: nothing changes
    EXPECT_EQ(f.Combo2.listIndex(), 0);
}

TEST(Form, ObserverSeesEveryChangeOnce)
{
    Form f;
    int calls = 0;
    f.setObserver([&](Control*) { ++calls; });
    f.CmdAziona.setCaption("X");
    f.CmdAziona.setCaption("X");
    f.Bobina[0]->setBackColor(colore::Verde);
    f.setCaption("T");
    EXPECT_EQ(calls, 3);
}

} // namespace ondrix
