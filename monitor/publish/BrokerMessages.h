// What the operator is told about publishing: short, and each says what to do.
#pragma once

inline constexpr char BrokerUrlMessage[] =
    "MQTTﾌﾞﾛｰｶｰのｱﾄﾞﾚｽが正しくありません。mqtt://ﾎｽﾄ:ﾎﾟｰﾄ または mqtts://ﾎｽﾄ:ﾎﾟｰﾄ の形で指定してください。";
inline constexpr char LineNameEmptyMessage[] = "ﾗｲﾝ名を入力してください。";
inline constexpr char LineNameTooLongMessage[] = "ﾗｲﾝ名は64文字以内にしてください。";
inline constexpr char LineNameCharsMessage[] =
    "ﾗｲﾝ名に / + # と制御文字は使えません。先頭の $ も使えません。";
inline constexpr char CaFileMessage[] = "CAﾌｧｲﾙを読めません。ﾌｧｲﾙ名を確認してください。";
inline constexpr char ClientCertPairMessage[] =
    "ｸﾗｲｱﾝﾄ証明書と鍵のﾌｧｲﾙは両方指定してください。";
inline constexpr char ClientCertFileMessage[] =
    "ｸﾗｲｱﾝﾄ証明書または鍵のﾌｧｲﾙを読めません。ﾌｧｲﾙ名を確認してください。";
inline constexpr char PasswordFileMissingMessage[] =
    "ﾊﾟｽﾜｰﾄﾞﾌｧｲﾙを読めません。ﾌｧｲﾙ名を確認してください。";
inline constexpr char PasswordFileModeMessage[] =
    "ﾊﾟｽﾜｰﾄﾞﾌｧｲﾙは所有者だけが読めるようにしてください（chmod 600）。";
inline constexpr char PasswordWithoutUserMessage[] = "ﾊﾟｽﾜｰﾄﾞﾌｧｲﾙを使うときはﾕｰｻﾞｰ名も入力してください。";

inline constexpr char BrokerUnreachableMessage[] =
    "MQTTﾌﾞﾛｰｶｰに接続できません。ﾌﾞﾛｰｶｰが動いているか、ｱﾄﾞﾚｽとﾎﾟｰﾄを確認してください。";
inline constexpr char BrokerLoginRefusedMessage[] =
    "MQTTﾌﾞﾛｰｶｰがﾛｸﾞｲﾝを拒否しました。ﾕｰｻﾞｰ名とﾊﾟｽﾜｰﾄﾞを確認してください。";
inline constexpr char BrokerCertificateMessage[] =
    "MQTTﾌﾞﾛｰｶｰの証明書を確認できません。CAﾌｧｲﾙとﾌﾞﾛｰｶｰのﾎｽﾄ名を確認してください。";
// A port that does not speak TLS (mqtts:// to a plain listener): the handshake fails
// without a word about a certificate.
inline constexpr char BrokerNoTlsMessage[] =
    "MQTTﾌﾞﾛｰｶｰとTLSで接続できません。そのﾎﾟｰﾄがTLS用か確認してください（TLSなしなら mqtt://）。";
// The broker took the connection and closed it without answering (mqtt:// to a TLS port).
inline constexpr char BrokerClosedMessage[] =
    "MQTTﾌﾞﾛｰｶｰが応答せずに接続を閉じました。TLS用のﾎﾟｰﾄなら mqtts:// を指定してください。";
// The client library or the broker refused the client itself (its id, its protocol).
inline constexpr char BrokerClientRefusedMessage[] =
    "MQTTの接続が受け付けられません。ﾗｲﾝ名とﾌﾞﾛｰｶｰの設定を確認してください。";
inline constexpr char BrokerConnectedMessage[] = "MQTTﾌﾞﾛｰｶｰに接続しました。";
inline constexpr char BrokerLostMessage[] = "MQTTﾌﾞﾛｰｶｰとの接続が切れました。自動で再接続します。";
