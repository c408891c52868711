#include "editor/EditFormLauncher.h"

namespace lumisk {

EditFormLauncher::EditFormLauncher(HINSTANCE module, EditorPromptsFactory prompts)
    : module_(module), prompts_(std::move(prompts)) {}

EditFormLauncher::~EditFormLauncher() {
  if (form_) {
    form_->setOnDestroyed(nullptr);
    form_->setQuiet();
    form_.reset();  // destroys the window if this thread owns it
  }
  if (registered_) TEditForm::unregisterClass(module_);
}

void EditFormLauncher::open(const EditorContext& context) {
  if (form_) {
    if (form_->hwnd()) SetForegroundWindow(form_->hwnd());
    return;
  }
  if (!registered_) {
    TEditForm::registerClass(module_);
    registered_ = true;
  }
  std::unique_ptr<EditorPrompts> prompts =
      prompts_ ? prompts_(context.prompts) : std::make_unique<Win32EditorPrompts>(context.prompts, module_);
  auto form = std::make_unique<TEditForm>(context, std::move(prompts), module_);
  form->setOnDestroyed([this](TEditForm& gone) {
    if (form_.get() == &gone) form_.reset();
  });
  form->create();
  form_ = std::move(form);
  form_->show();
}

void EditFormLauncher::close() {
  if (!form_ || !form_->hwnd()) return;
  // Released through the destroy callback; nothing of the form is used after this call.
  form_->release();
}

}  // namespace lumisk
