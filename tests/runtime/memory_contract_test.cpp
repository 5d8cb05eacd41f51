// The runtime contract suite on the in-memory backend.
#include <memory>

#include "runtime/contract/contract_tests.h"
#include "runtime/memory/memory_form.h"

namespace pigmo::runtime::contract {
namespace {

class MemoryHarness final : public Harness {
 public:
  Form& Build(const FormSpec& description) override {
    form_ = std::make_unique<memory::MemoryForm>(description);
    return *form_;
  }
  void Show() override { form_->Show(); }
  bool WindowOpen() override { return form_->Shown(); }

  void Type(std::string_view box, std::u16string_view keys) override { Box(box).UserType(keys); }
  void Paste(std::string_view box, std::u16string_view clip) override { Box(box).UserPaste(clip); }
  void Select(std::string_view box, std::int32_t start, std::int32_t n) override { Box(box).UserSelect(start, n); }
  std::int32_t SelectionLength(std::string_view box) override { return Box(box).SelectionLength(); }
  void Backspace(std::string_view box) override { Box(box).UserBackspace(); }
  void Delete(std::string_view box) override { Box(box).UserDelete(); }
  std::u16string Cut(std::string_view box) override { return Box(box).UserCut(); }
  std::u16string Copy(std::string_view box) override { return Box(box).UserCopy(); }
  void Undo(std::string_view box) override { Box(box).UserUndo(); }
  void Click(std::string_view button) override { form_->ButtonControl(button).Click(); }
  // Each box as the backend recorded it, closed at once.
  std::vector<ShownMessage> Messages() override {
    std::vector<ShownMessage> shown;
    for (const auto& m : form_->Messages()) {
      shown.push_back({m.text, m.title, m.icon == memory::MessageIcon::kInformation,
                       m.buttons == std::vector<std::u16string>{u"OK"}});
    }
    return shown;
  }

 private:
  memory::MemoryTextBox& Box(std::string_view name) { return form_->Box(name); }
  std::unique_ptr<memory::MemoryForm> form_;
};

using MemoryBackend = ::testing::Types<MemoryHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RuntimeContract, MemoryBackend);

}  // namespace
}  // namespace pigmo::runtime::contract
