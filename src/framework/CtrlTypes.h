#pragma once
// Small types shared by the control kinds beyond StdCtrls and ComCtrls, and the one call
// that registers their published properties.
namespace kv {

// Where a caption or a column's text sits.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Progress bars, track bars and up-down buttons lie one way or the other.
enum TOrientation { orHorizontal, orVertical };

// The boolean and enumeration properties of these kinds that skins set or read by name
// ("Flat", "Checked", "Transparent", "DateMode", ...). RegisterStandardProperties calls it.
void RegisterControlKindProperties();

}  // namespace kv
