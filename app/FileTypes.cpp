#include "app/FileTypes.h"

namespace FileTypes {

fw::Ref<fw::FileType> pText;
std::vector<fw::Ref<fw::FileType>> pAllFileTypes;

void Initialize() {
  pText = fw::RuntimeNewObject<fw::FileType>();
  pText->Name = "text";
  pText->Extensions = "";
  pText->MacType = "TEXT";
  pText->MacCreator = "Tsvr";
  pText->MimeType = "";
  pText->Imported = true;
  pText->ConformsTo = "";
  pAllFileTypes.push_back(pText);
  // The first conversion is what registers the type; the text itself is not needed.
  (void)Text()->Operator_Convert();
}

fw::Ref<fw::FileType> Text() { return pText; }

void ModuleInitializer() {
  pText = nullptr;
  pAllFileTypes.clear();
}

}  // namespace FileTypes
