#pragma once

namespace trelvano::messages {

// The intake's messages, shown exactly as they stand (M2, M3 and M5 end with a blank).
inline constexpr const char* M1 =
    "W non può essere un numero decimale perchè la finestra di osservazione deve contenere un numero intero "
    "di periodi, W sarà approssimato all'intero più vicino";
inline constexpr const char* M2 =
    "fp deve essere un numero intero perchè la finestra di calcolo deve contenere un numero intero di periodi, "
    "se decimale sarà approssimata all'intero più vicino ";
inline constexpr const char* M3 =
    "fm deve essere un numero intero perchè la finestra di calcolo deve contenere un numero intero di periodi, "
    "se decimale sarà approssimata all'intero più vicino ";
inline constexpr const char* M4 = "W, fp, fm non possono essere nulli!";
inline constexpr const char* M5 = "Deve essere fp minore o uguale a N/4W per Shannon ";
inline constexpr const char* M6 =
    "Devi scegliere il tipo di modulazione cliccando sulla linguetta a destra della casella per la scelta del "
    "tipo di modulazione!";

}  // namespace trelvano::messages
