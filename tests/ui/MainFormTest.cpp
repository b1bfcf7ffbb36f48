#include "ui/MainForm.h"

#include <QMdiArea>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

TEST(MainForm, OpensAsAnMdiFrame) {
    TMainForm form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "MDI-Anwendung");
    EXPECT_EQ(form.centralWidget(), form.mdiArea());
    EXPECT_FALSE(form.acquisition().State.Connected);
}

} // namespace
} // namespace kavlon
