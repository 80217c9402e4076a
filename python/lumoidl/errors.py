# The exceptions of the binding: a failed parse and a cyclic interface order.


class IdlError(Exception):
    """The library reported a failure; `message` is its text exactly as it wrote it."""

    def __init__(self, message):
        super().__init__(message)
        self.message = message


class CycleError(IdlError):
    """sortInterfaces found interfaces that refer to each other; the order was left as it was."""
