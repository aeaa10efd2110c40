#pragma once

// Form descriptions: the readable text that says which components a form
// holds and how their properties are set. Format (see framework/README.md):
//
//   object Form1: TForm1
//     Caption = '蓝桉'#13#10'second line'
//     Font.Style = [fsBold]
//     OnShow = FormShow
//     object Panel1: TPanel
//       Align = alTop
//     end
//   end

#include "framework/Classes.h"

#include <string>
#include <vector>

class TComponent;

// One `object Name: TClass ... end` block.
struct TObjectDescription {
    std::wstring name;
    std::wstring className;
    int line = 0;
    std::vector<TPropertyAssignment> properties; // stored order
    std::vector<TObjectDescription> children;
};

// Parses a description; errors (EFormDescriptionError) name source and line.
TObjectDescription ParseFormDescription(std::wstring_view text, std::wstring_view sourceName);

// The text of an RCDATA resource of the executable, read as UTF-8.
std::wstring LoadTextResource(std::wstring_view resourceName);

// Applies a description to root (a form, usually): the root's own properties,
// then every nested object created with owner root and parent the enclosing
// object, properties in stored order, events bound to root's handler methods,
// component references resolved by name; Loading is set meanwhile and
// Loaded() runs once on every component afterwards.
void ReadComponent(TComponent& root, const TObjectDescription& description,
                   std::wstring_view sourceName);
void ReadComponentText(TComponent& root, std::wstring_view text, std::wstring_view sourceName);
void ReadComponentResource(TComponent& root, std::wstring_view resourceName);

// Whether the description being applied to component stores property: a
// step that the stored value will run anyway can wait for it. False outside
// a reader and once the component's own properties are applied.
bool DescriptionStores(const TComponent& component, std::wstring_view property);

// For classes with collection properties: applies stored item properties to
// an item object, with the same rules (and the same reader, if one is running).
void ApplyStoredProperties(TObject& target, const std::vector<TPropertyAssignment>& properties);
