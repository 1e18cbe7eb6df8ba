#pragma once

// The spring calculation: from the texts of the five inputs and the chosen end type to the
// result sentence, or to the fault that stopped it.
// In: UTF-16 texts as typed, the state kept between calculations, the decimal separator to
// write with. Out: the sentence or a fault with a Spanish message; the state as updated.

#include "runtime/number_text.h"
#include "runtime/result.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tervanel {

// Kept from one calculation to the next; all zero at start.
struct SpringState {
    std::int16_t N = 0;  // active coils
    std::int16_t N2 = 0; // inactive coils of the chosen end type
    double G = 0;        // shear modulus of the material, N/m²
    double K = 0;        // stiffness, N/m
    double W = 0;        // natural frequency, Hz
};

struct Material {
    std::u16string_view name;
    double shearModulus; // N/m²
};

// Also the entries of the material list, in this order. Names are compared code unit for code
// unit: "Niquel" has no accent, and the blanks inside the parentheses count.
inline constexpr std::array<Material, 5> kMaterials{{
    {u"Aceros de alto contenido en carbono", 79'300'000'000.0},
    {u"Aceros aleados", 79'300'000'000.0},
    {u"Acero inoxidable ( Austenítico )", 68'900'000'000.0},
    {u"Aleaciones de cobre al Bronce", 43'400'000'000.0},
    {u"Aleaciones de Niquel", 75'800'000'000.0},
}};

// The unit symbols a measure may be typed with, each moving the decimal point to metres or to
// kilograms. The diameters take the lengths, the mass takes the masses, the coils take none;
// a symbol of another quantity in a box is refused.
inline constexpr std::array<UnitSuffix, 6> kUnitSymbols{{
    {u"m", 0},
    {u"cm", -2},
    {u"mm", -3},
    {u"kg", 0},
    {u"g", -3},
    {u"t", 3},
}};
inline constexpr std::span<const UnitSuffix> kLengthUnits{kUnitSymbols.data(), 3};
inline constexpr std::span<const UnitSuffix> kMassUnits{kUnitSymbols.data() + 3, 3};

enum class EndType { Plain, Squared, SquaredAndGround, PlainAndGround };

// Inactive coils of each end type; squared ends count 2 whether ground or not.
constexpr std::int16_t inactiveCoils(EndType type) {
    switch (type) {
    case EndType::Squared:
    case EndType::SquaredAndGround:
        return 2;
    case EndType::PlainAndGround:
        return 1;
    case EndType::Plain:
        break;
    }
    return 0;
}

struct SpringInputs {
    std::u16string_view material;
    std::u16string_view coils;        // total number of coils, no unit
    std::u16string_view wireDiameter; // d, metres unless a length unit follows
    std::u16string_view meanDiameter; // D, metres unless a length unit follows
    std::u16string_view mass;         // on the front axle, kilograms unless a mass unit follows
};

enum class FaultKind {
    Overflow,
    DivisionByZero,
    InvalidOperation,
    InvalidArgument,
    UnrecognisedMaterial,
    InvalidUnit,
};

struct Fault {
    FaultKind kind;
    // Names the fault and the input to look at, in Spanish, e.g.
    // "División por cero: la masa es 0."
    std::u16string message;
};

// Runs the calculation in order: material, active coils, diameters, stiffness, mass, frequency,
// sentence. An unrecognised material, or a unit refused by any box, changes nothing. Any other
// fault stops the calculation where it happens; what was stored before it stays stored (K is
// stored before it is checked). A negative stiffness or mass is a fault, never a result.
[[nodiscard]] Result<std::u16string, Fault>
calculate(const SpringInputs& inputs, SpringState& state, std::u16string_view decimalSeparator);

} // namespace tervanel
