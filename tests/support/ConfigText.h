#pragma once

#include <QByteArray>
#include <QStringList>

/// A config.ini as the program writes it, with the port and sampling period given.
inline QByteArray configText(const QString &port = "COM1", int sampleRate = 100)
{
    const QStringList lines = {"Cz_0= 1",
                               "Cz_1= 1",
                               "Cz_2= 1",
                               "Real_Time_Sample= 0",
                               QString("Sample_rate= %1").arg(sampleRate),
                               "Paging= 0",
                               "Paging_tracking= 0",
                               "Sample_per_page= 10",
                               "Autorejestracja= 1",
                               "Rejestracja_Cz0= 1",
                               "Rejestracja_Cz1= 1",
                               "Rejestracja_Cz2= 1",
                               "Rejestracja_PK1= 0",
                               "Rejestracja_PK2= 0",
                               "Rejestracja_data= 0",
                               "Rejestracja_godz= 0",
                               "Rejestracja_czas= 1",
                               "Rejestracja_data= 1",
                               "Rejestracja_index= 1",
                               "Rejestracja_kolor= 1",
                               "domyslny_port_com= " + port,
                               "Wykres_PK1_H= 50",
                               "Wykres_PK1_F= 0",
                               "Wykres_PK2_H= 50",
                               "Wykres_PK2_F= 75",
                               "Wykres_PK3_H= 50",
                               "Wykres_PK3_F= 150",
                               "Wykres_PK4_H= 50",
                               "Wykres_PK4_F= 225"};
    return (lines.join("\r\n") + "\r\n").toLatin1();
}
