#pragma once

#include <QString>
#include <exception>

// What the player reads when an operation ends by an exception, whatever it is: a table failure
// keeps its own message; running out of memory says so and what was kept; anything else gets a
// plain Portuguese notice. The operation has stopped at that point, what it had already posted is
// kept, and the program goes on.
QString operationFailureText(const std::exception_ptr& failure);
