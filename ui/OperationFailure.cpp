#include "OperationFailure.h"

#include "TableError.h"

#include <new>

QString operationFailureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const TableError& e) {
        return e.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("A memória do computador acabou e a operação parou no meio. Foi mantido o "
                              "que ela já tinha guardado até ali (os jogos gerados até esse ponto, por "
                              "exemplo); os demais dados estão como a última operação terminada os "
                              "deixou. Feche outros programas ou peça menos jogos e tente de novo.");
    } catch (const std::exception& e) {
        // The technical text is for whoever started the program from a terminal, not for the box.
        qWarning("%s", e.what());
    } catch (...) {
    }
    return QStringLiteral("Ocorreu um erro inesperado e a operação parou no meio. Foi mantido o que ela "
                          "já tinha guardado até ali; os demais dados estão como a última operação "
                          "terminada os deixou. O programa continua aberto.");
}
