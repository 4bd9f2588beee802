// The desktop dialogs on GTK 3, built as the module the program loads on its first dialog. GTK
// windows cannot be owned by the SDL window, so boxes are kept above it and centred instead.
#include <gtk/gtk.h>

#include <clocale>
#include <type_traits>

#include "app/dialog_module.h"

namespace {

// Lets GTK take the closed dialog off the screen before the frame loop goes on.
void FlushGtk() {
  while (gtk_events_pending()) gtk_main_iteration();
}

GtkMessageType GtkIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kQuestion:
      return GTK_MESSAGE_QUESTION;
    case MessageIcon::kError:
      return GTK_MESSAGE_ERROR;
    case MessageIcon::kInformation:
      break;
  }
  return GTK_MESSAGE_INFO;
}

class GtkDialogs final : public Dialogs {
 public:
  MessageAnswer ShowMessage(WindowHandle /*owner*/, MessageIcon icon, const char* caption,
                            const char* text) override {
    return Show(icon, caption, text, false);
  }

  MessageAnswer ShowQuestionDefaultNo(WindowHandle /*owner*/, const char* caption,
                                      const char* text) override {
    return Show(MessageIcon::kQuestion, caption, text, true);
  }

  bool ChooseOpenFile(std::string* path) override {
    return Choose(GTK_FILE_CHOOSER_ACTION_OPEN, "Open", "_Open", path);
  }

  bool ChooseSaveFile(std::string* path) override {
    if (!Choose(GTK_FILE_CHOOSER_ACTION_SAVE, "Save As", "_Save", path)) return false;
    *path = WithProfileExtension(*path);
    return true;
  }

 private:
  static MessageAnswer Show(MessageIcon icon, const char* caption, const char* text,
                            bool defaultNo) {
    bool question = icon == MessageIcon::kQuestion;
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GtkIcon(icon),
                                               question ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s",
                                               DisplayText(text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), caption);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    if (question && defaultNo) gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_NO);
    gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    FlushGtk();
    if (!question) return MessageAnswer::kOk;
    return response == GTK_RESPONSE_YES ? MessageAnswer::kYes : MessageAnswer::kNo;
  }

  static bool Choose(GtkFileChooserAction action, const char* title, const char* accept,
                     std::string* path) {
    GtkFileChooserNative* chooser =
        gtk_file_chooser_native_new(title, nullptr, action, accept, "_Cancel");
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, kProfileFilterName);
    gtk_file_filter_add_pattern(filter, kProfilePattern);
    gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);

    bool chosen = false;
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
      char* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
      if (name != nullptr) {
        *path = name;
        chosen = true;
        g_free(name);
      }
    }
    g_object_unref(chooser);
    FlushGtk();
    return chosen;
  }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) Dialogs* CorsaroCreateGtkDialogs(int interface) {
  if (interface != kDialogModuleInterface) return nullptr;
  if (!gtk_init_check(nullptr, nullptr)) return nullptr;
  // GTK's start takes the user's locale for the whole process; the ini file's numbers must keep
  // their point, not become "0,5" after the first dialog in a comma-decimal locale.
  std::setlocale(LC_NUMERIC, "C");
  return new GtkDialogs();
}
static_assert(std::is_same_v<decltype(CorsaroCreateGtkDialogs), DialogModuleEntry>);
