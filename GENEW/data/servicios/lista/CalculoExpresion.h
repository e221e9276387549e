#pragma once
#include <QString>

#include <functional>
#include <optional>

// The small arithmetic of the list editor's row calculations: numbers ("." or "," as the
// decimal point), "+", "-", "*" (or "x"), "/" (or ":"), "#" (round the product to the nearest
// multiple) and parentheses. "*", "/" and "#" bind tighter than "+" and "-"; each level applies
// from left to right. A factor that is not a number counts as 1; an operation whose result is
// not a finite number (a division by 0) leaves the running value as it was.

// The value of the expression after each line Name=Value of the variables text replaced
// every occurrence of its name (plain text, lines in order). Unbalanced parentheses, and a
// text that the replacements make longer than kLongitudMaximaExpresion, give 0.
double CalcularExpresion(const QString &expresion, const QString &variables = QString());
// The value of an expression without parentheses.
double CalcularExpresionSimple(const QString &expresion);

inline constexpr qsizetype kLongitudMaximaExpresion = 65536;

// A number as plain decimal text with "," for the decimal point: up to 15 significant
// digits and never an exponent ("0,0000000001" rather than "1e-10").
QString NumeroComoTextoDecimal(double valor);

// The number a text reads as with "." or "," as the decimal point; empty when it is none.
std::optional<double> LeerNumeroExpresion(const QString &texto);

// A row formula with each operand (the pieces between "+", "-", "*", "/", "#" and the
// parentheses) replaced by its value: a number stays; any other operand takes the value the
// look-up gives for it as a name, or 0 without one. A negative value goes in parentheses so
// that "a-b" with b = -3 reads as a - (-3).
QString FormulaConValores(const QString &formula,
                          const std::function<std::optional<double>(const QString &nombre)> &valorDe);
