#pragma once

#include <string>
#include <string_view>

class TForm;

// Builds a window from its layout: a text of nested objects
//
//   object fMain: TfMain
//     Caption = 'Velmora'
//     Font.Height = -11
//     OnCreate = FormCreate
//     object panMain: TPanel
//       Color = clBlack
//     end
//   end
//
// Components are created in the order they stand (owned by the window,
// children of the enclosing windowed control), their properties set in the
// order they stand through the same setters code uses, handlers bound by
// name; then every component is told it is loaded. Values are numbers,
// 'quoted texts' ('' for a quote), identifiers, [sets] and ('lists').
// Pictures are named by the embedded file that holds them. An unknown
// class, property, value or handler is an ELayoutError naming file and line.
void ReadLayout(TForm& root, const std::string& resourceName);
void ReadLayoutText(TForm& root, std::string_view text, const std::string& fileName);
