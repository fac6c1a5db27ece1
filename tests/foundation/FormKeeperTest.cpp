// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QSpinBox>
#include <QTextEdit>
#include <QWidget>

#include "ConfigSandbox.h"
#include "EditLib.h"
#include "FormKeeper.h"
#include "PrjLib.h"
#include "ScriptedPrompt.h"

namespace tessalune {
namespace {

using Names = std::vector<std::string>;
constexpr const char* kFormKey = "\\Software\\Quembler\\Tessalune\\Forms\\frmMain";

// A main window as the program makes it: placed, named, with its keeper
// taking the document manager's address.
struct TestWindow {
  TestWindow() {
    Form.setObjectName("frmMain");
    Form.setGeometry(147, 144, 745, 527);
    Project.RegistryAddress.Path = "\\Software\\Quembler\\Tessalune";
    Keeper = new TFormKeeper(&Form);
    Keeper->Project = &Project;
  }

  QWidget Form;
  TProject Project;
  TFormKeeper* Keeper;  // owned by Form
};

class FormKeeperTest : public ::testing::Test {
protected:
  static std::unique_ptr<TRegistry> FormKey() {
    auto reg = std::make_unique<TRegistry>();
    reg->OpenKey(kFormKey, true);
    return reg;
  }

  static std::string Placement(const QWidget& form) {
    return std::to_string(form.x()) + "," + std::to_string(form.y()) + " " +
           std::to_string(form.width()) + "x" + std::to_string(form.height());
  }

  test::ConfigSandbox config_;
};

TEST_F(FormKeeperTest, OnlyATopLevelWindowCanOwnAKeeper) {
  QWidget window;
  window.setObjectName("frmOptions");
  auto* child = new QWidget(&window);
  QObject plain;
  for (QObject* owner : {static_cast<QObject*>(child), &plain, static_cast<QObject*>(nullptr)}) {
    try {
      TFormKeeper keeper(owner);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& error) {
      EXPECT_STREQ(error.what(), "Invalid class typecast");
    }
  }
  auto* keeper = new TFormKeeper(&window);
  EXPECT_EQ(keeper->parent(), &window);
  EXPECT_EQ(keeper->FormName, "frmOptions");
  EXPECT_TRUE(keeper->FormStore);
  EXPECT_FALSE(keeper->ComponentsStore);
  EXPECT_EQ(keeper->Project, nullptr);
}

TEST_F(FormKeeperTest, AFirstStartCreatesTheKeyAndKeepsTheDesignedPlacement) {
  TestWindow window;
  bool loadingSeen = false;
  window.Keeper->OnLoad = [&](TFormKeeper& sender, TRegistry& reg) {
    EXPECT_EQ(&sender, window.Keeper);
    loadingSeen = sender.Loading();
    EXPECT_FALSE(reg.ValueExists("ImagePreview"));
    EXPECT_EQ(reg.CurrentPath(), std::string(kFormKey).substr(1));
  };
  window.Keeper->Load(false);
  EXPECT_TRUE(loadingSeen);
  EXPECT_FALSE(window.Keeper->Loading());
  EXPECT_EQ(Placement(window.Form), "147,144 745x527");
  EXPECT_TRUE(FormKey()->GetValueNames().empty());
  EXPECT_NE(config_.StoreText().find("[HKEY_CURRENT_USER\\Software\\Quembler\\Tessalune\\Forms\\frmMain]"),
            std::string::npos);
}

TEST_F(FormKeeperTest, ANormalWindowStoresItsBoundsThenTheHostsValues) {
  TestWindow window;
  window.Keeper->OnSave = [](TFormKeeper&, TRegistry& reg) { reg.WriteBool("ImagePreview", true); };
  window.Keeper->Save();
  const auto reg = FormKey();
  EXPECT_EQ(reg->GetValueNames(), (Names{"Top", "Left", "Width", "Height", "WindowState", "ImagePreview"}));
  EXPECT_EQ(reg->ReadInteger("Top"), 144);
  EXPECT_EQ(reg->ReadInteger("Left"), 147);
  EXPECT_EQ(reg->ReadInteger("Width"), 745);
  EXPECT_EQ(reg->ReadInteger("Height"), 527);
  EXPECT_EQ(reg->ReadInteger("WindowState"), 0);

  TestWindow next;
  next.Form.setGeometry(0, 0, 100, 100);
  next.Keeper->Load(false);
  EXPECT_EQ(Placement(next.Form), "147,144 745x527");
}

TEST_F(FormKeeperTest, AMaximizedWindowKeepsTheLastNormalBoundsAndMaximizesAgain) {
  TestWindow window;
  window.Keeper->Save();
  window.Form.setGeometry(10, 20, 300, 200);
  window.Form.setWindowState(Qt::WindowMaximized);
  window.Keeper->Save();
  EXPECT_EQ(FormKey()->ReadInteger("WindowState"), 1);
  EXPECT_EQ(FormKey()->ReadInteger("Width"), 745);

  TestWindow next;
  next.Form.setGeometry(0, 0, 100, 100);
  next.Keeper->Load(false);
  // Maximizing gives the window its frame, which moves the reported origin.
  EXPECT_EQ(next.Form.size(), QSize(745, 527));
  EXPECT_TRUE(next.Form.windowState() & Qt::WindowMaximized);

  next.Form.setWindowState(Qt::WindowNoState);
  auto reg = FormKey();
  reg->WriteInteger("WindowState", 0);
  next.Form.setWindowState(Qt::WindowMaximized);
  next.Keeper->Load(false);
  EXPECT_FALSE(next.Form.windowState() & Qt::WindowMaximized);
}

TEST_F(FormKeeperTest, AMinimizedWindowStoresNothingOfItsPlacement) {
  TestWindow window;
  window.Keeper->Save();
  const std::string before = config_.StoreText();
  window.Form.setGeometry(10, 20, 300, 200);
  window.Form.setWindowState(Qt::WindowMinimized);
  window.Keeper->Save();
  EXPECT_EQ(config_.StoreText(), before);
}

TEST_F(FormKeeperTest, AnUnknownStoredStateAppliesTheBoundsOnly) {
  {
    auto reg = FormKey();
    reg->WriteInteger("Top", 5);
    reg->WriteInteger("Width", 640);
    reg->WriteInteger("WindowState", 2);
  }
  TestWindow window;
  window.Keeper->Load(false);
  EXPECT_EQ(Placement(window.Form), "147,5 640x527");
  EXPECT_EQ(window.Form.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowNoState);
}

TEST_F(FormKeeperTest, APlacementValueOfAnotherTypeKeepsTheDesignedOneAndIsShownOnce) {
  test::ScriptedPrompt prompt;
  {
    auto reg = FormKey();
    reg->WriteString("Top", "5");
    reg->WriteString("Width", "wide");
    reg->WriteInteger("Height", 300);
  }
  TestWindow window;
  window.Keeper->Load(false);
  EXPECT_EQ(Placement(window.Form), "147,144 745x300");
  EXPECT_EQ(prompt.Errors(), (Names{"Invalid data type for 'Top'"}));
}

TEST_F(FormKeeperTest, WithoutFormStoreOnlyEditsAndEventsWork) {
  TestWindow window;
  window.Keeper->FormStore = false;
  window.Keeper->ComponentsStore = true;
  auto* title = new QLineEdit("Holiday", &window.Form);
  title->setObjectName("edtTitle");
  int saves = 0;
  int loads = 0;
  window.Keeper->OnSave = [&](TFormKeeper&, TRegistry&) { ++saves; };
  window.Keeper->OnLoad = [&](TFormKeeper&, TRegistry&) { ++loads; };
  window.Keeper->Save();
  EXPECT_EQ(FormKey()->GetValueNames(), (Names{"edtTitle.Text"}));
  FormKey()->WriteInteger("Top", 1);
  title->clear();
  window.Keeper->Load(false);
  EXPECT_EQ(title->text(), "Holiday");
  EXPECT_EQ(window.Form.y(), 144);
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(loads, 1);
}

TEST_F(FormKeeperTest, TheWindowsOwnNamedLineEditsAreKept) {
  TestWindow window;
  window.Keeper->FormStore = false;
  window.Keeper->ComponentsStore = true;
  auto* panel = new QWidget(&window.Form);
  auto* deep = new QLineEdit("deep", panel);
  deep->setObjectName("edtDeep");
  auto* title = new QLineEdit("title", &window.Form);
  title->setObjectName("edtTitle");
  new QLineEdit("unnamed", &window.Form);
  (new QSpinBox(&window.Form))->setObjectName("spnCount");
  (new QTextEdit("memo", &window.Form))->setObjectName("memDesc");
  auto* dialog = new QWidget(&window.Form, Qt::Dialog);
  (new QLineEdit("other window", dialog))->setObjectName("edtOther");
  window.Keeper->Save();
  EXPECT_EQ(FormKey()->GetValueNames(), (Names{"edtDeep.Text", "edtTitle.Text"}));

  FormKey()->DeleteValue("edtTitle.Text");
  deep->clear();
  window.Keeper->Load(false);
  EXPECT_EQ(deep->text(), "deep");
  EXPECT_EQ(title->text(), "");  // no stored value empties the edit
}

// A number edit's number belongs to the dialog that loads it: the keeper
// neither stores nor empties it.
TEST_F(FormKeeperTest, NumberEditsAreNotKept) {
  TestWindow window;
  window.Keeper->FormStore = false;
  window.Keeper->ComponentsStore = true;
  auto* width = new TNaturalEdit(&window.Form);
  width->setObjectName("edtIconWidth");
  width->SetValue(120);
  (new QLineEdit("Trip", &window.Form))->setObjectName("edtTitle");
  window.Keeper->Save();
  EXPECT_EQ(FormKey()->GetValueNames(), (Names{"edtTitle.Text"}));
  window.Keeper->Load(false);
  EXPECT_EQ(width->text(), "120");
}

TEST_F(FormKeeperTest, FormOnlyRestoresThePlacementAlone) {
  TestWindow window;
  window.Keeper->ComponentsStore = true;
  auto* title = new QLineEdit("stored", &window.Form);
  title->setObjectName("edtTitle");
  window.Keeper->Save();
  window.Form.setGeometry(1, 2, 30, 40);
  title->setText("typed");
  bool loaded = false;
  window.Keeper->OnLoad = [&](TFormKeeper&, TRegistry&) { loaded = true; };
  window.Keeper->Load(true);
  EXPECT_EQ(Placement(window.Form), "147,144 745x527");
  EXPECT_EQ(title->text(), "typed");
  EXPECT_FALSE(loaded);
}

TEST_F(FormKeeperTest, AFailingLoadHandlerStopsBeforeThePlacement) {
  TestWindow window;
  window.Keeper->Save();
  window.Form.setGeometry(1, 2, 30, 40);
  window.Keeper->OnLoad = [](TFormKeeper&, TRegistry&) { throw Exception("view settings"); };
  EXPECT_THROW(window.Keeper->Load(false), Exception);
  EXPECT_FALSE(window.Keeper->Loading());
  EXPECT_EQ(Placement(window.Form), "1,2 30x40");
}

TEST_F(FormKeeperTest, WithoutAProjectTheKeeperUsesItsOwnAddress) {
  QWidget form;
  form.setObjectName("frmSort");
  auto* keeper = new TFormKeeper(&form);
  keeper->RegistryAddress.Path = "\\Software\\Other";
  keeper->Save();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Other\\Forms\\frmSort", false));
  EXPECT_TRUE(reg.ValueExists("WindowState"));
}

}  // namespace
}  // namespace tessalune
