#ifndef SMSBACKEND_H
#define SMSBACKEND_H

#include <QObject>
#include <QString>

// The handset's messaging service and message store in one: it sends a text
// message, reports the request's state (with an error code once it ends) and
// tells in which folder the message sits as it moves along.
//
// A request runs InactiveState -> ActiveState -> FinishedState, and error()
// says whether it succeeded: a failed request also ends in FinishedState,
// with the error set before the state change is announced. A request that
// the messaging system withdrew on its own ends in CanceledState with no
// error. A refused send() announces nothing: error() tells why.
class SmsBackend : public QObject
{
    Q_OBJECT
public:
    enum State
    {
        InactiveState = 0,
        ActiveState = 1,
        CanceledState = 2,
        FinishedState = 3
    };
    Q_ENUM(State)

    enum Folder
    {
        InboxFolder = 1,
        OutboxFolder = 2,
        DraftsFolder = 3,
        SentFolder = 4,
        TrashFolder = 5
    };
    Q_ENUM(Folder)

    enum Error
    {
        NoError = 0,
        InvalidId = 1,
        ConstraintFailure = 2,
        ContentInaccessible = 3,
        NotYetImplemented = 4,
        FrameworkFault = 5,
        WorkingMemoryOverflow = 6,
        Busy = 7,
        RequestIncomplete = 8
    };
    Q_ENUM(Error)

    explicit SmsBackend(QObject *parent = nullptr);

    // Starts sending body to number; true when the request was accepted.
    virtual bool send(const QString &number, const QString &body) = 0;
    virtual State state() const { return m_state; }
    virtual Error error() const { return m_error; }
    // Gives up the request under way: nothing more is announced for it and
    // the back end takes the next one. Used when the caller stops waiting.
    virtual void abandon();

signals:
    void stateChanged(SmsBackend::State state);
    void messageAdded(const QString &id, SmsBackend::Folder folder);
    void messageUpdated(const QString &id, SmsBackend::Folder folder);

protected:
    // Opens a request: false, with the error set, when one is under way or
    // there is no number to send to.
    bool begin(const QString &number);
    // Ends the request with error (NoError for success).
    void finish(Error error);
    // Ends the request as withdrawn by the messaging system.
    void cancel();

private:
    void announce(State state);

    State m_state = InactiveState;
    Error m_error = NoError;
};

#endif // SMSBACKEND_H
