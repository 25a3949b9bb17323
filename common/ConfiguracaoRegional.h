// The process's regional settings: decimal separator, short date format, date separator.
// This is the one piece of process-wide state the program keeps: writers set the short date
// format when they are created, and every number or date turned into text reads it here.
#pragma once

#include <string>
#include <string_view>

class TConfiguracaoRegional {
  public:
    static TConfiguracaoRegional& Instancia();

    char SeparadorDecimal() const { return separadorDecimal_; }
    void DefineSeparadorDecimal(char c) { separadorDecimal_ = c; }

    const std::string& FormatoDataCurta() const { return formatoDataCurta_; }
    void DefineFormatoDataCurta(std::string formato) { formatoDataCurta_ = std::move(formato); }

    char SeparadorData() const { return separadorData_; }

    // Shortest general form with at most 15 significant digits, the regional decimal
    // separator, exponent form ("1E15", "1,5E-7") above 15 integer digits or below 0.0001.
    std::string NumeroParaTexto(double valor) const;

    // The same form with "." as decimal separator, as the SQL statements carry numbers.
    std::string NumeroSql(double valor) const;

    // Reads a number written with the regional decimal separator; fails with EConversao.
    double TextoParaNumero(std::string_view texto) const;
    bool TentaTextoParaNumero(std::string_view texto, double& valor) const;

    // A date-time serial (days since 30/12/1899) in the short date format.
    std::string DataParaTexto(double serial) const;
    // The same serial with an explicit format (tokens d, dd, m, mm, yy, yyyy; "/" is the date
    // separator; any other character stands as written).
    std::string FormataData(std::string_view formato, double serial) const;

    // Today as a date serial.
    static double Hoje();

    // Reads a date in the short date format ("01/01/1900"); fails with EConversao.
    double TextoParaData(std::string_view texto) const;

  private:
    TConfiguracaoRegional();

    char separadorDecimal_ = '.';
    std::string formatoDataCurta_ = "dd/mm/yyyy";
    char separadorData_ = '/';
};

// Calendar helpers shared by the readers and the database layer.
namespace calendario {
// Day serial (30/12/1899 = 0) of a proleptic Gregorian date.
long SerialDeData(int ano, int mes, int dia);
// Date of a day serial.
void DataDeSerial(long serial, int& ano, int& mes, int& dia);
}  // namespace calendario
